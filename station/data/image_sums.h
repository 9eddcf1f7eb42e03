#pragma once
// The 16-bit sums the units check an image against, kept in the state
// (MainCrc16/MainAcc16, EepCrc16/EepAcc16) and carried by project files.

#include <cstddef>
#include <cstdint>
#include <span>

#include "station/data/station_state.h"

namespace zek {

// Check16 ("CRC") and the low 16 bits of SumBytes ("ACC").
struct ImageSums {
  uint16_t Crc16 = 0;
  uint16_t Acc16 = 0;
  friend bool operator==(const ImageSums&, const ImageSums&) = default;
};

// Over buffer[0 .. count - 1]; both 0 for no bytes.
ImageSums SumsOfFirst(std::span<const uint8_t> buffer, size_t count);

// EepCrc16 and EepAcc16 over EepBuffer[0 .. EepSize - 1]. Whatever changes
// the EEP image calls it, so no command or project carries stale sums.
void RefreshEepSums(StationState& st);

}  // namespace zek
