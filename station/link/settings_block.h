#pragma once
// The 64-byte settings block: the chip descriptor, the image sums and the
// programmer settings, sent with most commands and inside the
// configuration image.

#include <cstddef>
#include <cstdint>
#include <span>

#include "station/data/station_state.h"

namespace zek {

inline constexpr size_t kSettingsBlockSize = 64;

// Fills block from the station's state. Draws two values from the
// station's generator, in this order: the byte at 4 (below 255), then the
// word at 6-7 (below 65535).
void WriteSettingsBlock(StationState& st, std::span<uint8_t, kSettingsBlockSize> block);

// Writes the settings block at offset of PortPacketBuf[port]; writes
// nothing (and draws nothing) when it would not fit.
void BuildSettingsBlock(StationState& st, size_t offset, int port);

}  // namespace zek
