#include "station/data/byte_sums.h"

namespace zek {
namespace {

// Clips [start, end] to the buffer; false when nothing is left.
bool Clip(std::span<const uint8_t> buffer, uint32_t start, uint32_t& end) {
  if (end < start || start >= buffer.size()) return false;
  if (end >= buffer.size()) end = static_cast<uint32_t>(buffer.size() - 1);
  return true;
}

}  // namespace

uint32_t SumBytes(std::span<const uint8_t> buffer, uint32_t start, uint32_t end) {
  if (!Clip(buffer, start, end)) return 0;
  uint32_t sum = 0;
  for (uint32_t i = start; i <= end; ++i) sum += buffer[i];
  return sum;
}

uint16_t Check16(std::span<const uint8_t> buffer, uint32_t start, uint32_t end) {
  if (start > 0xFFFFFF || end > 0xFFFFFF) return 0;
  if (!Clip(buffer, start, end)) return 0;
  uint16_t r = 0;
  for (uint32_t i = start; i <= end; ++i) r = Check16Step(r, buffer[i]);
  return r;
}

}  // namespace zek
