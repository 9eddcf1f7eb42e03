#include "station/data/image_sums.h"

#include <algorithm>

#include "station/data/byte_sums.h"

namespace zek {

ImageSums SumsOfFirst(std::span<const uint8_t> buffer, size_t count) {
  count = std::min(count, buffer.size());
  if (count == 0) return {};
  const auto last = static_cast<uint32_t>(count - 1);
  return {Check16(buffer, 0, last), static_cast<uint16_t>(SumBytes(buffer, 0, last))};
}

void RefreshEepSums(StationState& st) {
  const ImageSums sums = SumsOfFirst(st.EepBuffer.span(), st.EepSize);
  st.EepCrc16 = sums.Crc16;
  st.EepAcc16 = sums.Acc16;
}

}  // namespace zek
