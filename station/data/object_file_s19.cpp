#include "station/data/object_file_s19.h"

#include "station/data/object_file_lines.h"
#include "station/data/object_file_records.h"

namespace zek {
namespace {

constexpr size_t kAddressPos = 4;  // 'S' T LL, then the address
constexpr uint8_t kGoodCheck = 0xFF;

}  // namespace

uint8_t ParseS19Line(StationState& st, std::string_view line, uint32_t& record_address, uint32_t& lowest,
                     uint32_t& sum, uint32_t& highest) {
  if (line.empty() || line[0] != 'S') return kRecordBadStart;
  if (line.size() < 2) return kRecordBadType;
  const uint8_t type = static_cast<uint8_t>(line[1] - '0');
  switch (type) {
    case 0: case 5: case 7: case 8: case 9:
      return kRecordOk;
    case 1: case 2: case 3:
      break;
    default:
      return kRecordBadType;
  }

  const uint32_t address_bytes = type + 1u;
  const size_t data_pos = kAddressPos + 2 * address_bytes;
  if (line.size() < data_pos) return kRecordBadChecksum;
  const uint8_t count = HexByteAt(line, 2);
  uint8_t check = count;
  uint32_t address = 0;
  for (uint32_t k = 0; k < address_bytes; ++k) {
    uint8_t b = HexByteAt(line, kAddressPos + 2 * k);
    address = address << 8 | b;
    check = static_cast<uint8_t>(check + b);
  }
  if (count < address_bytes + 1) return kRecordBadChecksum;
  const uint32_t data_count = count - address_bytes - 1;
  const size_t checksum_pos = data_pos + 2 * size_t{data_count};
  if (line.size() < checksum_pos + 2) return kRecordBadChecksum;
  record_address = address;

  // A record without data covers no address: widening by it would report
  // an end one below its start (0xFFFFFFFF for address 0).
  if (data_count > 0) {
    WidenDataRange(address, data_count, lowest, highest);
    Placement placed = PlaceRecordData(st, address, line.data() + data_pos, data_count, sum, EepIndexing::Plain);
    if (placed.code != kRecordOk) return placed.code;
    check = static_cast<uint8_t>(check + placed.data_check);
  }
  check = static_cast<uint8_t>(check + HexByteAt(line, checksum_pos));
  return check == kGoodCheck ? kRecordOk : kRecordBadChecksum;
}

void ReadS19File(StationState& st, const std::string& path, uint32_t& lowest, uint32_t& highest, uint32_t& sum) {
  uint32_t record_address = 0;
  ReadRecordFile(st, path, {"Line %d : %s,  Error=%d.", false}, lowest, highest,
                 [&](std::string_view line, uint32_t& low, uint32_t& high) {
                   return ParseS19Line(st, line, record_address, low, sum, high);
                 });
}

}  // namespace zek
