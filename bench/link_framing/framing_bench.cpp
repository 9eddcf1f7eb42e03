// The station's framing cost of one program block: Check16 and SlipEncode of
// the largest packet (4170 bytes with its check) and SlipDecode of its frame,
// per byte. The wire takes 11 us a byte at 1,000,000 baud, 8N2; the figure
// printed as wire_ratio is the station's time over the wire's for the same
// bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "station/data/station_state.h"
#include "station/link/packet_framing.h"

namespace {

constexpr size_t kPacket = 4168;  // header, settings, 4096 data bytes
constexpr double kWireNsPerByte = 11000.0;

// Random bytes, with the share of bytes that need escaping the argument's
// percentage of the whole (0xC0 and 0xDB alike).
std::vector<uint8_t> Packet(int escaped_percent) {
  std::mt19937 rng(17);
  std::vector<uint8_t> p(kPacket + 2);
  for (auto& b : p) {
    b = static_cast<uint8_t>(rng());
    if (b == zek::kSlipEnd || b == zek::kSlipEsc) b = 0x55;
    if (static_cast<int>(rng() % 100) < escaped_percent) b = (rng() & 1) ? zek::kSlipEnd : zek::kSlipEsc;
  }
  return p;
}

void FramingOfOneBlock(benchmark::State& state) {
  std::vector<uint8_t> packet = Packet(static_cast<int>(state.range(0)));
  std::vector<uint8_t> tx(zek::kTxBufSize), frame(zek::kFrameBufSize), decoded(zek::kPacketBufSize);
  for (auto _ : state) {
    uint16_t c = zek::Check16Packet(packet, 0, kPacket - 1);
    packet[kPacket] = static_cast<uint8_t>(c);
    packet[kPacket + 1] = static_cast<uint8_t>(c >> 8);
    uint16_t n = zek::SlipEncode(packet, tx, kPacket + 2);
    std::copy(tx.begin(), tx.begin() + n, frame.begin());
    uint16_t count = n, length = 0;
    benchmark::DoNotOptimize(zek::SlipDecode(frame, decoded, length, count));
    benchmark::DoNotOptimize(zek::CheckPacket(decoded, length));
  }
  // Both counters are per-iteration values turned into time per value:
  // seconds per byte, and station time over wire time.
  const double bytes = static_cast<double>(kPacket + 2);
  const auto per = benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert;
  state.counters["time_per_byte"] = benchmark::Counter(bytes, per);
  state.counters["wire_ratio"] = benchmark::Counter(bytes * kWireNsPerByte * 1e-9, per);
}
BENCHMARK(FramingOfOneBlock)->Arg(0)->Arg(1)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

void Parts(benchmark::State& state) {
  std::vector<uint8_t> packet = Packet(0);
  std::vector<uint8_t> tx(zek::kTxBufSize), frame(zek::kFrameBufSize), decoded(zek::kPacketBufSize);
  uint16_t n = zek::SlipEncode(packet, tx, kPacket + 2);
  for (auto _ : state) {
    switch (state.range(0)) {
      case 0: benchmark::DoNotOptimize(zek::Check16Packet(packet, 0, kPacket - 1)); break;
      case 1: benchmark::DoNotOptimize(zek::SlipEncode(packet, tx, kPacket + 2)); break;
      case 2: {
        std::copy(tx.begin(), tx.begin() + n, frame.begin());
        uint16_t count = n, length = 0;
        benchmark::DoNotOptimize(zek::SlipDecode(frame, decoded, length, count));
        break;
      }
    }
  }
}
BENCHMARK(Parts)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
