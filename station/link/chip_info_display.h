#pragma once
// Chip information replies shown in the information log (states 37, 39).
// A success (0 or 6) is shown whatever the reply's length: rows print the
// data bytes the decoded reply carries (PortPacketLen[port]) and 00 for
// every byte it does not carry. ShowChipInfoData takes the packet area;
// its rows never reach past it.

#include <cstdint>
#include <span>

#include "station/data/station_state.h"

namespace zek {

void ShowChipUID(StationState& st, uint8_t status, int port);
void ShowChipInfo(StationState& st, uint8_t status, int port);
void ShowChipInfoData(StationState& st, std::span<const uint8_t> packet, uint8_t status, int port);
void ShowOptionBytes(StationState& st, uint8_t status, int port);

}  // namespace zek
