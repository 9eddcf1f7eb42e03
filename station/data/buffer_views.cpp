#include "station/data/buffer_views.h"

#include <algorithm>

namespace zek {

uint32_t MainGridRows(uint32_t start, uint32_t end, size_t buffer_size) {
  if (end < start || end + 1 == start || start >= buffer_size) return 0;
  const uint64_t last = std::min<uint64_t>(end, buffer_size - 1);
  return static_cast<uint32_t>((last - start + kGridRowBytes) / kGridRowBytes);
}

uint32_t EepGridRows(uint32_t eep_size, uint32_t info_size, size_t buffer_size) {
  const uint64_t bytes = std::min<uint64_t>(uint64_t{eep_size} + info_size, buffer_size);
  return static_cast<uint32_t>(bytes / kGridRowBytes);
}

bool HoldsNonErased(std::span<const uint8_t> buffer, uint64_t first, uint64_t count) {
  if (first >= buffer.size()) return false;
  const auto shown = buffer.subspan(first, std::min<uint64_t>(count, buffer.size() - first));
  return std::any_of(shown.begin(), shown.end(), [](uint8_t b) { return b != 0xFF; });
}

}  // namespace zek
