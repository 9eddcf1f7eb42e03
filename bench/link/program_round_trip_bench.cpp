// Station-side CPU of one program-block round trip: the unit's 12-byte
// reply is cut, decoded, checked and dispatched, and the handler builds the
// next 0x95 packet (header, settings block, 4096 image bytes), checks,
// encodes and hands it to the port. Reference: the same round trip's time
// on the wire at 1,000,000 baud, 11 bits a byte. The counter
// wire_over_cpu says how many times faster the station is than its line.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "serial/comm_port.h"
#include "station/data/station_state.h"
#include "station/link/frame_extract.h"
#include "station/link/operation_states.h"
#include "station/link/operation_steps.h"
#include "station/link/packet_framing.h"
#include "station/link/reply_dispatch.h"

namespace {

class CountingPort final : public zek::CommPort {
 public:
  void OpenPort() override {}
  void ClosePort() override {}
  bool SendBuffer(const uint8_t* buffer, uint16_t length) override {
    last_length = length;
    benchmark::DoNotOptimize(buffer);
    return true;
  }
  std::string CommName() const override { return "COM1"; }
  void SetCommName(const std::string&) override {}
  bool IsOpen() const override { return true; }
  uint16_t last_length = 0;
};

std::vector<uint8_t> StatusReplyFrame() {
  std::vector<uint8_t> p = {0x95, 0, 0, 'E', 0, 0, 2, 0, 6, 0};
  uint16_t c = zek::Check16Packet(p, 0, 9);
  p.push_back(static_cast<uint8_t>(c));
  p.push_back(static_cast<uint8_t>(c >> 8));
  std::vector<uint8_t> frame(64);
  frame.resize(zek::SlipEncode(p, frame, static_cast<uint16_t>(p.size())));
  return frame;
}

void BM_ProgramBlockRoundTrip(benchmark::State& state) {
  zek::StationState st;
  CountingPort port;
  st.PortComm[0] = &port;
  st.FlashSizeKB = 2048;
  for (size_t i = 0; i < st.MainBuffer.size(); ++i) st.MainBuffer[i] = static_cast<uint8_t>(i * 31 + (i >> 9));
  zek::StartProgram(st, 0);
  const std::vector<uint8_t> reply = StatusReplyFrame();
  auto handle = [&](uint16_t frame_length) { zek::HandleReplyPacket(st, frame_length, 0); };
  for (auto _ : state) {
    if (st.PortBlockIndex[0] + 4u >= st.PortBlockCount[0]) st.PortBlockIndex[0] = 0;  // stay in the chain
    std::memcpy(st.PortRxBuf[0].data(), reply.data(), reply.size());
    st.PortRxLen[0] = static_cast<uint16_t>(reply.size());
    zek::CutPendingFrames(st, 0, handle);
  }
  if (st.PortState[0] != zek::kStateProgram) state.SkipWithError("the chain left the program step");
  // The wire time of one round trip: the command frame and the reply frame.
  const double wire_seconds = (port.last_length + reply.size()) * 11.0 / 1'000'000.0;
  state.counters["wire_us"] = wire_seconds * 1e6;
  state.counters["wire_over_cpu"] =
      benchmark::Counter(wire_seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProgramBlockRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
