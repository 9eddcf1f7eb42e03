#pragma once
// The units' stand-alone progress reports (code 0xFD) and OK/NG counting.

#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

// Acts on the information packet in PortPacketBuf[slot].
void HandleInfoPacket(StationState& st, uint8_t slot);
// Adds the totals line; saves the log every 500 completions.
void AddTotalsLine(StationState& st);

}  // namespace zek
