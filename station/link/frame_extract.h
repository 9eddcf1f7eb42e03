#pragma once
// Cutting complete 0xC0-delimited frames out of a port's receive buffer.

#include <cstdint>
#include <functional>
#include <span>

#include "station/data/station_state.h"

namespace zek {

// Cuts the next complete frame of pending[position ..] into frame. A run of
// delimiters opens the frame at its last one. Returns true with the frame
// and its length when a closing delimiter was found, position then pointing
// past it; false when the pending bytes ran out first. A frame that would
// not fit the frame buffer is dropped, and the search goes on after it.
bool ExtractRxFrame(std::span<const uint8_t> pending, std::span<uint8_t> frame, uint16_t& position,
                    uint16_t& frame_length);

// The same over a slot's own buffers: PortRxBuf[port] with PortRxLen[port]
// bytes into PortFrameBuf[port].
bool ExtractRxFrame(StationState& st, int port, uint16_t& position, uint16_t& frame_length);

// Called with each frame cut, in order; the frame lies in PortFrameBuf[port].
using FrameSink = std::function<void(uint16_t frame_length)>;

// Cuts every complete frame of the slot's pending bytes and hands it to
// sink, then keeps the unfinished tail (everything after the last complete
// frame) at the front of PortRxBuf[port]. When sink throws, the bytes after
// the frame it was given are kept the same way and the error goes on.
void CutPendingFrames(StationState& st, int port, const FrameSink& sink);

}  // namespace zek
