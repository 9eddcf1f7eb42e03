#pragma once
// Decoding a record's data digits into the caller's image. Bytes whose
// index would reach the window, or whose address would pass the top of the
// address space, are decoded (they count for the checksum) but not stored.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "filelib/hex_digits.h"
#include "filelib/result_codes.h"

namespace rhb {

struct StoreResult {
  uint8_t check = 0;  // 8-bit sum of every decoded byte
  uint32_t sum = 0;   // 32-bit sum of the bytes stored
};

// count bytes from digit pairs at line[pos ...], for the addresses from
// `address` on; the caller has made sure the line holds them.
inline StoreResult StoreDigits(std::string_view line, size_t pos, uint32_t count, uint8_t* buffer,
                               uint32_t index, uint32_t window, uint32_t address) {
  StoreResult r;
  const char* d = line.data() + pos;
  uint64_t room = index < window ? window - index : 0;
  room = std::min(room, uint64_t{kTopAddress} - address + 1);
  uint32_t stored = count < room ? count : static_cast<uint32_t>(room);
  uint8_t* out = stored > 0 ? buffer + index : nullptr;
  uint32_t i = 0;
  for (; i < stored; ++i) {
    uint8_t b = HexDigitsToByte(d[2 * i], d[2 * i + 1]);
    out[i] = b;
    r.check = static_cast<uint8_t>(r.check + b);
    r.sum += b;
  }
  for (; i < count; ++i) r.check = static_cast<uint8_t>(r.check + HexDigitsToByte(d[2 * i], d[2 * i + 1]));
  return r;
}

}  // namespace rhb
