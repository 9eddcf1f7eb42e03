#include "filelib/intel_hex_records.h"

#include "filelib/hex_digits.h"
#include "filelib/image_store.h"
#include "filelib/result_codes.h"

namespace rhb {

namespace {

enum RecordType : uint8_t {
  kData = 0x00,
  kEndOfFile = 0x01,
  kSegmentBase = 0x02,
  kStartSegment = 0x03,
  kLinearBase = 0x04,
  kStartLinear = 0x05,
  kFirstUnknownType = 0x06,
};

constexpr size_t kHeaderChars = 9;     // ":LLAAAATT"
constexpr size_t kBaseRecordChars = 15;  // header, 4 value digits, checksum

struct Variant {
  bool segment_clears_linear;
  bool linear_clears_segment;
  uint32_t (*fold)(uint32_t);
  bool offset;
  uint32_t window;
};

uint32_t NoFold(uint32_t linear) { return linear; }

constexpr Variant kPlain{true, true, NoFold, false, kWindow4M};
constexpr Variant k18Fx{false, false, Fold18Fx, false, kWindow16M};
constexpr Variant k33Fx{false, false, Fold33Fx, false, kWindow16M};
constexpr Variant kOffset{false, false, NoFold, true, kWindow4M};

uint8_t ByteAt(std::string_view line, size_t pos) { return HexDigitsToByte(line[pos], line[pos + 1]); }

struct Header {
  uint8_t count;
  uint8_t address_high;
  uint8_t address_low;
  uint8_t type;
  uint16_t Address() const { return static_cast<uint16_t>(address_high << 8 | address_low); }
  uint8_t Check() const { return static_cast<uint8_t>(count + address_high + address_low + type); }
};

uint8_t BaseRecord(std::string_view line, const Header& h, const Variant& v, HexRecordState& st) {
  if (h.Address() != 0) return kBadBaseAddressField;
  if (line.size() < kBaseRecordChars) return kBadChecksum;
  uint8_t high = ByteAt(line, 9);
  uint8_t low = ByteAt(line, 11);
  uint32_t value = static_cast<uint32_t>(high) << 8 | low;
  if (h.type == kSegmentBase) {
    st.segment = value * 16;
    if (v.segment_clears_linear) st.linear = 0;
  } else {
    st.linear = v.fold(value << 16);
    if (v.linear_clears_segment) st.segment = 0;
  }
  uint8_t total = static_cast<uint8_t>(h.Check() + high + low + ByteAt(line, 13));
  return total == 0 ? kAccepted : kBadChecksum;
}

uint8_t DataRecord(std::string_view line, const Header& h, const Variant& v, uint32_t base,
                   uint8_t* buffer, HexRecordState& st) {
  if (line.size() < kHeaderChars + 2u * h.count + 2) return kBadChecksum;
  // Only the offset parser keeps both bases, high enough to pass the top.
  uint64_t full = uint64_t{st.linear} + st.segment + h.Address();
  if (full > kTopAddress) {
    st.span.highest = kTopAddress;
    return kOutsideWindow;
  }
  uint32_t address = static_cast<uint32_t>(full);
  uint32_t index = address;
  if (v.offset) {
    if (address < base) return kAccepted;
    index = address - base;
    if (index >= v.window) {
      st.span.highest = address;
      return kOutsideWindow;
    }
    st.span.Widen(address, h.count);
  } else {
    st.span.Widen(address, h.count);
    if (address >= v.window) return kOutsideWindow;
  }
  StoreResult r = StoreDigits(line, kHeaderChars, h.count, buffer, index, v.window, address);
  if (v.offset) st.sum += r.sum;
  uint8_t total = static_cast<uint8_t>(h.Check() + r.check + ByteAt(line, kHeaderChars + 2u * h.count));
  return total == 0 ? kAccepted : kBadChecksum;
}

uint8_t Parse(std::string_view line, const Variant& v, uint32_t base, uint8_t* buffer, HexRecordState& st) {
  if (line.empty() || line[0] != ':') return kNoStartMark;
  if (line.size() < 3) return kBadChecksum;
  Header h{ByteAt(line, 1), 0, 0, 0};
  if (h.count == 0) return kAccepted;
  if (line.size() < kHeaderChars) return kBadChecksum;
  h.address_high = ByteAt(line, 3);
  h.address_low = ByteAt(line, 5);
  h.type = ByteAt(line, 7);
  switch (h.type) {
    case kData:
      return DataRecord(line, h, v, base, buffer, st);
    case kSegmentBase:
    case kLinearBase:
      return BaseRecord(line, h, v, st);
    case kEndOfFile:
    case kStartSegment:
    case kStartLinear:
      return kAccepted;
    default:
      static_assert(kFirstUnknownType == 0x06);
      return kBadHexType;
  }
}

}  // namespace

uint32_t Fold18Fx(uint32_t linear) { return linear > 0x100000 ? linear / 16 : linear; }

uint32_t Fold33Fx(uint32_t linear) {
  if (linear >= 0x1F00000) return (linear / 16) & 0xFFFFF;
  if (linear >= 0xFF0000) return linear - 0xFF0000 + 0xE0000;
  return linear;
}

uint8_t ParseHexRecord(std::string_view line, uint8_t* buffer, HexRecordState& st) {
  return Parse(line, kPlain, 0, buffer, st);
}

uint8_t ParseHexRecord18Fx(std::string_view line, uint8_t* buffer, HexRecordState& st) {
  return Parse(line, k18Fx, 0, buffer, st);
}

uint8_t ParseHexRecord33Fx(std::string_view line, uint8_t* buffer, HexRecordState& st) {
  return Parse(line, k33Fx, 0, buffer, st);
}

uint8_t ParseHexRecordOffset(std::string_view line, uint32_t base, uint8_t* buffer, HexRecordState& st) {
  return Parse(line, kOffset, base, buffer, st);
}

}  // namespace rhb
