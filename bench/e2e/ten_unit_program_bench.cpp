// Programming one image on ten simulated units at once over real ports.
//
// Paced: the units and the lines run at 1,000,000 baud, 11 us a byte. The
// reference is the wire time of the same bytes, every byte sent and
// received counted at 11 us on the busiest line; the figure is
// wire time / wall time (1.00 would be a line never idle), and the
// station's CPU time (this process: main thread and the serial threads;
// units and lines run in other processes) as a share of one core. The
// ceiling: the same commands played over the same lines by a station
// without logic (bench/e2e/ideal_station.h), before and after the
// station's run; the station's wire share over its transfers' span is
// given as a share of that ceiling's, which leaves the rig's own cost out.
//
// Unpaced: the bytes cost nothing on the wire, so each block's round trip
// shows what the station adds: the turnaround the lines see, from a
// unit's last answer byte to the station's next command, less the 3 ms
// of line silence that ends every read.
//
//   build/bench/e2e/bench_ten_unit_program [--units N] [--kb K]
#include <sys/resource.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/e2e/ideal_station.h"
#include "bench/e2e/line_relay.h"
#include "bench/e2e/run_options.h"
#include "station/link/operation_steps.h"
#include "tests/e2e/station_rig.h"

namespace {

using namespace std::chrono_literals;
using zek::bench::LineRelay;
using zek::bench::LineStats;
using zek::bench::SpanFigure;
using zek::testing::SimUnits;
using zek::testing::StationRig;

constexpr double kByteUs = 11.0;
constexpr double kReadIntervalUs = 3000.0;
constexpr uint32_t kImageSeed = 17;

using Options = zek::bench::RunOptions;
using zek::bench::LineNames;

// A simulator and its lines, started before anything spawns threads.
struct Bench {
  Bench(const Options& o, bool paced)
      : sim(paced ? std::vector<std::string>{"-n", std::to_string(o.units)}
                  : std::vector<std::string>{"-n", std::to_string(o.units), "--unpaced"}),
        station_dir(sim.Dir() + "-station") {
    std::filesystem::create_directory(station_dir);
    relay = std::make_unique<LineRelay>(sim.Dir(), station_dir, LineNames(o.units), paced);
  }
  ~Bench() {
    relay.reset();
    std::error_code ignored;
    std::filesystem::remove_all(station_dir, ignored);
  }
  SimUnits sim;
  std::string station_dir;
  std::unique_ptr<LineRelay> relay;
};

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return s(u.ru_utime) + s(u.ru_stime);
}

struct Run {
  bool ok = false;
  double wall_s = 0, cpu_s = 0;
  std::vector<LineStats> lines;
};

Run ProgramAll(Bench& bench, const Options& o) {
  Run run;
  setenv("ZEK_COM_DIR", bench.station_dir.c_str(), 1);
  StationRig rig;
  rig.ListPorts(LineNames(o.units));
  zek::testing::LoadTestImage(rig.fs.st, o.kb, kImageSeed);
  if (!rig.FindUnits(o.units)) {
    std::fprintf(stderr, "only %d of %d units found\n", rig.fs.st.DevicesFound, o.units);
    return run;
  }
  bench.relay->Reset();
  const double cpu0 = CpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  std::vector<int> started = rig.StartOnConnected(zek::StartProgram);
  bool finished = rig.RunUntil([&] { return rig.SlotsIdle(started); }, 600s);
  const auto t1 = *std::max_element(rig.ended_at.begin(), rig.ended_at.begin() + o.units);
  run.cpu_s = CpuSeconds() - cpu0;
  run.wall_s = std::chrono::duration<double>(t1 - t0).count();
  run.lines = bench.relay->Stats();
  run.ok = finished;
  for (int slot : started) {
    if (rig.LastMessage(slot) != "Programming Success!") {
      std::fprintf(stderr, "slot %d: %s\n", slot, rig.LastMessage(slot).c_str());
      run.ok = false;
    }
  }
  return run;
}

double BlockCount(const Options& o) { return (o.kb + 3) / 4; }

zek::bench::Script ProgramScript(const Options& o) {
  zek::testing::FakeStation fs;
  zek::testing::LoadTestImage(fs.st, o.kb, kImageSeed);
  return zek::bench::CaptureScript(fs, zek::StartProgram);
}


// True when the figures can be trusted: a run faster than its own wire
// time means the lines were not paced.
bool ReportPaced(const Run& r, const Options& o) {
  double wire_us = 0;
  uint64_t sent = 0, received = 0;
  for (const LineStats& s : r.lines) {
    wire_us = std::max(wire_us, static_cast<double>(s.to_unit + s.to_station) * kByteUs);
    sent += s.to_unit;
    received += s.to_station;
  }
  std::printf("paced, %d units x %u KiB at 1,000,000 baud\n", o.units, o.kb);
  std::printf("  bytes on the lines     %llu sent, %llu received\n", static_cast<unsigned long long>(sent),
              static_cast<unsigned long long>(received));
  std::printf("  wall time              %.3f s\n", r.wall_s);
  std::printf("  wire time (reference)  %.3f s on the busiest line\n", wire_us / 1e6);
  // Every block waits out the 3 ms of silence that ends the read of its
  // answer: no station can do better than this on these lines.
  const double ceiling = wire_us / (wire_us + BlockCount(o) * kReadIntervalUs);
  std::printf("  wire / wall            %.3f  (target >= 0.90; %.3f with no time lost beyond the 3 ms)\n",
              wire_us / 1e6 / r.wall_s, ceiling);
  std::printf("  station CPU            %.3f s = %.2f %% of one core  (target < 5 %%)\n", r.cpu_s,
              100.0 * r.cpu_s / r.wall_s);
  if (wire_us / 1e6 > r.wall_s) {
    std::fprintf(stderr, "the run beat its wire time: the lines are not paced\n");
    return false;
  }
  return true;
}

void ReportUnpaced(const Run& r, const Options& o) {
  uint64_t turns = 0;
  double sum = 0, worst = 0;
  for (const LineStats& s : r.lines) {
    turns += s.turnarounds;
    sum += s.turnaround_sum_us;
    worst = std::max(worst, s.turnaround_max_us);
  }
  const double blocks = BlockCount(o);
  std::printf("unpaced, %d units x %u KiB\n", o.units, o.kb);
  std::printf("  wall time              %.3f s, %.3f ms a block round trip\n", r.wall_s, r.wall_s * 1e3 / blocks);
  std::printf("  station turnaround     %.3f ms mean over %llu, %.3f ms worst\n", turns ? sum / turns / 1e3 : 0.0,
              static_cast<unsigned long long>(turns), worst / 1e3);
  std::printf("  added beyond 3 ms      %.3f ms mean, %.3f ms worst  (target < 1 ms)\n",
              turns ? (sum / turns - kReadIntervalUs) / 1e3 : 0.0, (worst - kReadIntervalUs) / 1e3);
  std::printf("  station CPU            %.3f s\n", r.cpu_s);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = zek::bench::ParseRunOptions(argc, argv);
  // The simulators and the lines are child processes: fork them while this
  // process has no other thread yet.
  Bench paced(o, true);
  Bench unpaced(o, false);
  QCoreApplication app(argc, argv);
  const zek::bench::Script script = ProgramScript(o);
  bool ideal_ok = true;
  // The chips take the same image again unchanged.
  auto ideal = [&] {
    return zek::bench::MeasureIdealStation(*paced.relay, paced.station_dir, LineNames(o.units), script, ideal_ok);
  };
  const SpanFigure before = ideal();
  Run p = ProgramAll(paced, o);
  const SpanFigure after = ideal();
  Run u = ProgramAll(unpaced, o);
  if (!p.ok || !u.ok || !ideal_ok) {
    std::fprintf(stderr, "a run failed\n");
    return 1;
  }
  const bool trusted = ReportPaced(p, o);
  zek::bench::PrintCeiling(zek::bench::TransferSpan(p.lines), before, after, 23);
  ReportUnpaced(u, o);
  return trusted ? 0 : 1;
}
