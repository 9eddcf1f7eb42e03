// Arbitrary line bytes arriving in chunks on a slot: frames are cut,
// decoded and checked as the receive path does. The first input byte picks
// the slot, the next ones the chunk sizes.
#include <cstdint>
#include <cstring>

#include "station/data/station_state.h"
#include "station/link/frame_extract.h"
#include "station/link/packet_framing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zek::StationState st;
  if (size < 2) return 0;
  int port = data[0] % zek::kPortSlots;
  size_t chunk = 1 + data[1] % 64;
  data += 2;
  size -= 2;
  st.PortRxLen[port] = 0;
  for (size_t at = 0; at < size; at += chunk) {
    size_t n = size - at < chunk ? size - at : chunk;
    if (st.PortRxLen[port] + n > zek::kRxBufSize) st.PortRxLen[port] = 0;  // what does not fit is dropped
    std::memcpy(st.PortRxBuf[port].data() + st.PortRxLen[port], data + at, n);
    st.PortRxLen[port] = static_cast<uint16_t>(st.PortRxLen[port] + n);
    zek::CutPendingFrames(st, port, [&](uint16_t frame_length) {
      if (frame_length < 2 || frame_length > zek::kFrameBufSize) __builtin_trap();
      auto& frame = st.PortFrameBuf[port];
      if (frame[0] != zek::kSlipEnd || frame[frame_length - 1] != zek::kSlipEnd) __builtin_trap();
      uint16_t count = frame_length, length = 0;
      if (zek::SlipDecode(frame.span(), st.PortPacketBuf[port].span(), length, count) == 0)
        zek::CheckPacket(st.PortPacketBuf[port].span(), length);
    });
    if (st.PortRxLen[port] > zek::kRxBufSize) __builtin_trap();
  }
  return 0;
}
