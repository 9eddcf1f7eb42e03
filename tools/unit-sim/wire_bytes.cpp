#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {

uint16_t LineCheck16(std::span<const uint8_t> bytes) {
  uint16_t r = 0;
  for (uint8_t b : bytes) {
    uint16_t k = (r & 1) ? 0x4A12 : 0;
    r = static_cast<uint16_t>((r >> 1) ^ b ^ k);
  }
  return r;
}

uint32_t ByteSum(std::span<const uint8_t> bytes) {
  uint32_t s = 0;
  for (uint8_t b : bytes) s += b;
  return s;
}

}  // namespace zek::sim
