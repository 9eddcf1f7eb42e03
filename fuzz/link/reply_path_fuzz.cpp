// Arbitrary bytes on the receive path of a slot in any operation state:
// frame cutting, SLIP decoding, the packet check and HandleReplyPacket with
// every reply handler behind it, and the commands the handlers send.
//
// Input: port, state, chip class, flags, chunk size, flash size (2),
// chip start address (4), then the line bytes. Flag bit 0 wraps the line
// bytes into one packet with a correct check, so the handlers behind the
// check are reached too.
#include <cstdint>
#include <cstring>
#include <vector>

#include "serial/comm_port.h"
#include "station/data/station_state.h"
#include "station/link/frame_extract.h"
#include "station/link/packet_framing.h"
#include "station/link/reply_dispatch.h"

namespace {

class SinkPort final : public zek::CommPort {
 public:
  void OpenPort() override {}
  void ClosePort() override {}
  bool SendBuffer(const uint8_t* buffer, uint16_t length) override {
    if (length == 0 || length > zek::kTxBufSize) __builtin_trap();
    sum_ += buffer[length - 1];  // touch the bytes that were sent
    return true;
  }
  std::string CommName() const override { return "COM1"; }
  void SetCommName(const std::string&) override {}
  bool IsOpen() const override { return true; }

 private:
  uint8_t sum_ = 0;
};

constexpr uint8_t kStates[] = {0, 5, 10, 19, 21, 22, 26, 29, 32, 35, 37, 39, 51, 53, 58, 80, 160};

std::vector<uint8_t> WrapInFrame(const uint8_t* data, size_t size) {
  std::vector<uint8_t> packet(data, data + size);
  while (packet.size() < 8) packet.push_back(0);
  uint16_t c = zek::Check16Packet(packet, 0, static_cast<uint32_t>(packet.size() - 1));
  packet.push_back(static_cast<uint8_t>(c));
  packet.push_back(static_cast<uint8_t>(c >> 8));
  std::vector<uint8_t> frame(2 * packet.size() + 7);
  frame.resize(zek::SlipEncode(packet, frame, static_cast<uint16_t>(packet.size())));
  return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zek::StationState st;
  static SinkPort sink;
  if (size < 11 || size > 12000) return 0;
  const int port = data[0] % zek::kPortSlots;
  st.PortComm[port] = &sink;
  st.PortState[port] = data[1] < 2 * sizeof kStates ? kStates[data[1] % sizeof kStates] : data[1];
  st.ChipClassCode = data[2];
  st.EepStepsEnabled = (data[3] >> 1) & 1;
  st.PortAutoSeq[port] = (data[3] >> 2) & 1;
  const size_t chunk = 1 + data[4] * 8u;
  st.FlashSizeKB = static_cast<uint16_t>(data[5] | (data[6] << 8));
  st.PortBlockCount[port] = st.FlashSizeKB;
  std::memcpy(&st.ChipStartAddress, data + 7, 4);
  const bool wrap = data[3] & 1;
  data += 11;
  size -= 11;
  std::vector<uint8_t> line = wrap ? WrapInFrame(data, size) : std::vector<uint8_t>(data, data + size);

  st.PortRxLen[port] = 0;
  for (size_t at = 0; at < line.size(); at += chunk) {
    size_t n = line.size() - at < chunk ? line.size() - at : chunk;
    if (st.PortRxLen[port] + n > zek::kRxBufSize) st.PortRxLen[port] = 0;  // what does not fit is dropped
    std::memcpy(st.PortRxBuf[port].data() + st.PortRxLen[port], line.data() + at, n);
    st.PortRxLen[port] = static_cast<uint16_t>(st.PortRxLen[port] + n);
    zek::CutPendingFrames(st, port, [&](uint16_t frame_length) {
      if (frame_length > zek::kFrameBufSize) __builtin_trap();
      zek::HandleReplyPacket(st, frame_length, port);
      if (st.PortPacketLen[port] > zek::kPacketBufSize) __builtin_trap();
    });
  }
  return 0;
}
