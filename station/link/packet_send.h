#pragma once

#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

// Appends Check16 of PortPacketBuf[port][0 .. length-1] at `length`,
// frames the packet into PortTxBuf[port] and hands it to the slot's port.
// Returns the port's answer; false when the slot has no port or the frame
// does not fit.
bool SendPacket(StationState& st, uint16_t length, int port);

}  // namespace zek
