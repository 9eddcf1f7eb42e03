#include "filelib/srecord_records.h"

#include "filelib/hex_digits.h"
#include "filelib/image_store.h"
#include "filelib/result_codes.h"

namespace rhb {

namespace {

constexpr size_t kCountPos = 2;
constexpr size_t kAddressPos = 4;

// Address bytes of a data record type, 0 for the types taken unchecked,
// -1 for the types that are refused.
int AddressBytes(char type) {
  switch (type) {
    case '1': return 2;
    case '2': return 3;
    case '3': return 4;
    case '0': case '5': case '7': case '8': case '9': return 0;
    default: return -1;
  }
}

struct Window {
  bool offset;
  uint32_t size;
};

constexpr Window kAbsolute{false, kWindow16M};
constexpr Window kOffset{true, kWindow4M};

uint8_t ByteAt(std::string_view line, size_t pos) { return HexDigitsToByte(line[pos], line[pos + 1]); }

uint8_t Parse(std::string_view line, const Window& w, uint32_t base, uint8_t* buffer, SRecordState& st) {
  if (line.empty() || line[0] != 'S') return kNoStartMark;
  int abytes = line.size() < 2 ? -1 : AddressBytes(line[1]);
  if (abytes < 0) return kBadSRecordType;
  if (abytes == 0) return kAccepted;
  if (line.size() < kAddressPos) return kBadChecksum;
  uint8_t count = ByteAt(line, kCountPos);
  if (count <= abytes + 1) return kAccepted;
  if (line.size() < kAddressPos + 2u * count) return kBadChecksum;
  uint32_t n = count - abytes - 1u;

  uint8_t check = count;
  uint32_t address = 0;
  for (int i = 0; i < abytes; ++i) {
    uint8_t b = ByteAt(line, kAddressPos + 2u * i);
    address = address << 8 | b;
    check = static_cast<uint8_t>(check + b);
  }
  st.address = address;

  uint32_t index = address;
  if (w.offset) {
    if (address < base) return kAccepted;
    index = address - base;
  }
  if (index >= w.size) {
    if (w.offset) st.span.highest = address;
    return kOutsideWindow;
  }
  st.span.Widen(address, n);

  size_t data = kAddressPos + 2u * abytes;
  StoreResult r = StoreDigits(line, data, n, buffer, index, w.size, address);
  st.sum += r.sum;
  check = static_cast<uint8_t>(check + r.check + ByteAt(line, data + 2u * n));
  return check == 0xFF ? kAccepted : kBadChecksum;
}

}  // namespace

uint8_t ParseSRecord(std::string_view line, uint8_t* buffer, SRecordState& st) {
  return Parse(line, kAbsolute, 0, buffer, st);
}

uint8_t ParseSRecordOffset(std::string_view line, uint32_t base, uint8_t* buffer, SRecordState& st) {
  return Parse(line, kOffset, base, buffer, st);
}

}  // namespace rhb
