#include "station/link/frame_extract.h"

#include <cstring>

#include "station/link/packet_framing.h"

namespace zek {

bool ExtractRxFrame(std::span<const uint8_t> pending, std::span<uint8_t> frame, uint16_t& position,
                    uint16_t& frame_length) {
  const size_t end = pending.size();
  frame_length = 0;
  bool open = false;
  bool dropping = false;
  while (position < end) {
    uint8_t b = pending[position++];
    if (dropping) {
      dropping = b != kSlipEnd;
      continue;
    }
    if (!open) {
      if (b != kSlipEnd || frame.empty()) continue;
      // A delimiter followed by another one: the later one opens the frame.
      if (position < end && pending[position] == kSlipEnd) continue;
      frame[0] = b;
      frame_length = 1;
      open = true;
      continue;
    }
    if (frame_length >= frame.size()) {
      // Too long for the frame buffer: drop it through its closing delimiter.
      open = false;
      frame_length = 0;
      dropping = b != kSlipEnd;
      continue;
    }
    frame[frame_length++] = b;
    if (b == kSlipEnd) return true;
  }
  return false;
}

bool ExtractRxFrame(StationState& st, int port, uint16_t& position, uint16_t& frame_length) {
  std::span<const uint8_t> pending(st.PortRxBuf[port].data(), st.PortRxLen[port]);
  return ExtractRxFrame(pending, st.PortFrameBuf[port].span(), position, frame_length);
}

namespace {

// Moves the bytes from `keep` on to the front of the slot's buffer.
void KeepTail(StationState& st, int port, uint16_t keep) {
  // A handler may have cleared the pending bytes meanwhile.
  uint16_t remaining = keep < st.PortRxLen[port] ? static_cast<uint16_t>(st.PortRxLen[port] - keep) : 0;
  if (remaining > 0) std::memmove(st.PortRxBuf[port].data(), st.PortRxBuf[port].data() + keep, remaining);
  st.PortRxLen[port] = remaining;
}

}  // namespace

void CutPendingFrames(StationState& st, int port, const FrameSink& sink) {
  uint16_t position = 0;
  uint16_t keep = 0;  // past the last frame handed on
  uint16_t frame_length = 0;
  try {
    while (ExtractRxFrame(st, port, position, frame_length)) {
      keep = position;
      sink(frame_length);
    }
  } catch (...) {
    // A frame handed on is never kept, even when its handler failed (a log
    // save that cannot write): the next chunk would hand it on again.
    KeepTail(st, port, keep);
    throw;
  }
  KeepTail(st, port, keep);
}

}  // namespace zek
