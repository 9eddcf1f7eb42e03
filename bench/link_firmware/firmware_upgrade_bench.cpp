// Station-side CPU of the firmware upgrade against the line's own time.
//
// BM_SendFirmwareBlock: building, checking and framing one 0xB7 block;
// "cpu_per_wire" is its time over the time the frame takes on the wire
// at 1,000,000 baud, 11 bits a byte (about 46 ms).
// BM_LoadFirmware: unpacking a 65536-byte firmware file in memory;
// "cpu_per_wire" against sending that file's bytes once over the line.

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "serial/comm_port.h"
#include "station/link/firmware_upgrade.h"

namespace {

constexpr double kSecondsPerByte = 11.0 / 1'000'000.0;

using Clock = std::chrono::steady_clock;

// Seconds per iteration of the loop just run, over `wire_seconds`.
double PerWire(Clock::time_point start, const benchmark::State& state, double wire_seconds) {
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return seconds / static_cast<double>(state.iterations()) / wire_seconds;
}

class CountingPort : public zek::CommPort {
 public:
  void OpenPort() override {}
  void ClosePort() override {}
  bool SendBuffer(const uint8_t*, uint16_t length) override {
    last_length = length;
    return true;
  }
  std::string CommName() const override { return "COM1"; }
  void SetCommName(const std::string&) override {}
  bool IsOpen() const override { return true; }
  uint16_t last_length = 0;
};

void BM_SendFirmwareBlock(benchmark::State& state) {
  zek::StationState st;
  CountingPort port;
  st.PortComm[0] = &port;
  for (size_t i = 0; i < st.FirmwareImage.size(); ++i) st.FirmwareImage[i] = static_cast<uint8_t>(i * 31 + 7);
  uint16_t block = 0;
  auto start = Clock::now();
  for (auto _ : state) {
    benchmark::DoNotOptimize(zek::SendFirmwareBlock(st, block, 0));
    block = static_cast<uint16_t>((block + 1) % 32);
  }
  state.counters["frame_bytes"] = port.last_length;
  state.counters["wire_s"] = port.last_length * kSecondsPerByte;
  state.counters["cpu_per_wire"] = PerWire(start, state, port.last_length * kSecondsPerByte);
}
BENCHMARK(BM_SendFirmwareBlock);

// A valid 65536-byte file: only the tag, the length and the sum matter here.
std::vector<uint8_t> BigFirmwareFile() {
  std::vector<uint8_t> f(65536, 0x33);
  const char tag[] = "DvkFmWr";
  for (int i = 0; i < 7; ++i) f[i] = static_cast<uint8_t>(tag[i] ^ 0x4B);
  const uint16_t w = 0, end = 0x8FFF, length = 61328;
  f[15] = f[16] = w;
  f[17] = end & 0xFF;
  f[18] = end >> 8;
  f[23] = length & 0xFF;
  f[24] = length >> 8;
  size_t at = 3315 + length + 876;
  uint32_t sum = 0;
  for (size_t i = 0; i < at; ++i) sum += f[i];
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(sum >> (8 * i));
  return f;
}

void BM_LoadFirmware(benchmark::State& state) {
  zek::StationState st;
  const std::vector<uint8_t> file = BigFirmwareFile();
  auto start = Clock::now();
  for (auto _ : state) {
    zek::LoadFirmwareBytes(st, file, "bench.FWR");
    if (st.FirmwareOK != 1) state.SkipWithError("file not accepted");
  }
  state.counters["cpu_per_wire"] = PerWire(start, state, file.size() * kSecondsPerByte);
}
BENCHMARK(BM_LoadFirmware);

}  // namespace

BENCHMARK_MAIN();
