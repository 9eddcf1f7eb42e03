#pragma once
// Byte-level helpers of the unit's side of the line: little-endian fields,
// the 16-bit shift-xor check and the plain byte sum. The unit computes them
// itself so that it catches a station that gets them wrong.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zek::sim {

inline uint16_t Get16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline uint32_t Get32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

inline void Put16(std::span<uint8_t> b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void Put32(std::span<uint8_t> b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// r := (r >> 1) ^ b ^ (r odd ? 0x4A12 : 0) over every byte, from r = 0.
uint16_t LineCheck16(std::span<const uint8_t> bytes);

// 32-bit sum of the bytes.
uint32_t ByteSum(std::span<const uint8_t> bytes);

}  // namespace zek::sim
