#pragma once
// What the window does with each slot's serial events: received data,
// hang-up requests and line errors. One routine per kind, over the slot.

#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

// Re-arms the slot's time-out, appends the chunk to its receive buffer and
// hands every complete frame to discovery or to reply handling. A chunk
// that would overflow the buffer first drops the pending bytes before
// their last delimiter (only noise can be that long), or all of them when
// even the frame opened there cannot fit. An error a frame's handler raises
// (a failed log save) reaches the caller after the frames not yet handled
// are kept, so no frame is handled twice.
void LineCommReceiveData(StationState& st, int port, const uint8_t* buffer, uint16_t length);

// Closes the slot's failed port, drops its name from the port list and
// logs the port; a port already closed is left alone.
void LineCommRequestHangup(StationState& st, int port);

// Line errors are not reported: the packet check judges the bytes.
void LineCommReceiveError(StationState& st, int port, uint32_t event_mask);

}  // namespace zek
