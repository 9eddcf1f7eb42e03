#include "station/data/object_file_hex.h"

#include "station/data/object_file_lines.h"
#include "station/data/object_file_records.h"

namespace zek {
namespace {

constexpr size_t kHeaderLength = 9;        // ':' LL AAAA TT
constexpr size_t kBaseRecordLength = 15;   // header, 2 value bytes, checksum

uint8_t ParseBaseRecord(std::string_view line, uint8_t type, uint8_t check, uint32_t& linear_base,
                        uint32_t& segment_base) {
  if (line.size() < kBaseRecordLength) return kRecordBadChecksum;
  uint8_t high = HexByteAt(line, 9), low = HexByteAt(line, 11);
  uint32_t value = static_cast<uint32_t>(high) << 8 | low;
  if (type == 0x02) {
    segment_base = value * 16;
  } else {
    linear_base = value << 16;
  }
  check = static_cast<uint8_t>(check + high + low + HexByteAt(line, 13));
  return check == 0 ? kRecordOk : kRecordBadChecksum;
}

}  // namespace

uint8_t ParseHexLine(StationState& st, std::string_view line, uint32_t& linear_base, uint32_t& segment_base,
                     uint32_t& sum, uint32_t& highest, uint32_t& lowest) {
  if (line.empty() || line[0] != ':') return kRecordBadStart;
  if (line.size() < kHeaderLength) return kRecordBadChecksum;
  uint8_t count = HexByteAt(line, 1);
  uint8_t address_high = HexByteAt(line, 3), address_low = HexByteAt(line, 5);
  uint8_t type = HexByteAt(line, 7);
  uint8_t check = static_cast<uint8_t>(count + address_high + address_low + type);
  if (count == 0) return kRecordOk;

  switch (type) {
    case 0x00:
      break;
    case 0x02:
    case 0x04:
      if (address_high != 0 || address_low != 0) return kRecordBadBaseField;
      return ParseBaseRecord(line, type, check, linear_base, segment_base);
    case 0x01:
    case 0x03:
    case 0x05:
      return kRecordOk;
    default:
      return kRecordUnknownType;
  }

  const size_t checksum_pos = kHeaderLength + 2 * size_t{count};
  if (line.size() < checksum_pos + 2) return kRecordBadChecksum;
  uint32_t address = linear_base + segment_base + (static_cast<uint32_t>(address_high) << 8 | address_low);
  WidenDataRange(address, count, lowest, highest);
  Placement placed = PlaceRecordData(st, address, line.data() + kHeaderLength, count, sum, EepIndexing::Wrap16);
  if (placed.code != kRecordOk) return placed.code;
  check = static_cast<uint8_t>(check + placed.data_check + HexByteAt(line, checksum_pos));
  return check == 0 ? kRecordOk : kRecordBadChecksum;
}

void ReadHexFile(StationState& st, const std::string& path, uint32_t& lowest, uint32_t& highest, uint32_t& sum) {
  uint32_t linear_base = 0, segment_base = 0;
  ReadRecordFile(st, path, {"Line %d : %s, Error=%d.", true}, lowest, highest,
                 [&](std::string_view line, uint32_t& low, uint32_t& high) {
                   return ParseHexLine(st, line, linear_base, segment_base, sum, high, low);
                 });
}

}  // namespace zek
