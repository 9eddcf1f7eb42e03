#pragma once
// Replies from an identified unit: decoded, checked and handed to the
// reply handler of the slot's operation state.

#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

// Decodes the frame in PortFrameBuf[port] (frame_length is the decoder's
// in/out count) into PortPacketBuf[port]. A bad frame is reported and ends
// the slot's operation failed; an information packet (0xFD) goes to
// HandleInfoPacket unchecked, whatever the state; any other reply is
// checked and dispatched. A checked reply too short to hold a status byte
// counts as a data error (32).
void HandleReplyPacket(StationState& st, uint16_t& frame_length, int port);

// Calls the reply handler of PortState[port] with the status; a state
// without a handler of its own (idle included) hands the packet to
// HandleInfoPacket.
void DispatchReply(StationState& st, uint8_t status, int port);

}  // namespace zek
