#pragma once
// Sums over inclusive address ranges of an image. Ranges that reach past
// the buffer are clipped to it: a sum never reads outside its buffer.

#include <cstdint>
#include <span>

namespace zek {

// 32-bit byte sum of buffer[start .. end]; 0 when end < start.
uint32_t SumBytes(std::span<const uint8_t> buffer, uint32_t start, uint32_t end);

// The 16-bit shift-xor check with constant 0x4A12 over buffer[start .. end]:
// r := (r >> 1) ^ b ^ (r odd ? 0x4A12 : 0). 0 when start or end lies
// above 0xFFFFFF or end < start.
uint16_t Check16(std::span<const uint8_t> buffer, uint32_t start, uint32_t end);

// One step of Check16, for callers that run it over a stream.
constexpr uint16_t Check16Step(uint16_t r, uint8_t b) {
  uint16_t k = (r & 1) ? 0x4A12 : 0;
  return static_cast<uint16_t>((r >> 1) ^ b ^ k);
}

}  // namespace zek
