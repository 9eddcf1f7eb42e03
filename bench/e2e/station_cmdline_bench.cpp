// The station program itself, on its command line, downloading one
// project to ten simulated units over paced lines (1,000,000 baud, 11 us a
// byte, both ways, through the line relay):
//   DorvikLumo_ZEK demo.RQT OFF
// Figures: the download's wall time (first to last busy tick of the 10 ms
// timer) against the wire time of the same bytes on the busiest line, the
// station process's CPU time (window thread, serial threads, start-up and
// close included) as a share of one core, and the longest gap between two
// ticks of the 10 ms timer while the units ran. The ceiling: the same
// download played over the same lines by a station without logic
// (bench/e2e/ideal_station.h), before and after the station's run; the
// station's wire share over its transfers' span (the search left out) is
// given as a share of that ceiling's, which leaves the rig's own cost out.
//
//   build/bench/e2e/bench_station_cmdline [--units N] [--kb K]
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/e2e/ideal_station.h"
#include "bench/e2e/line_relay.h"
#include "bench/e2e/run_options.h"
#include "tests/data/temp_dir.h"
#include "station/link/start_download.h"
#include "tests/e2e/station_rig.h"
#include "tests/support/firmware_fixture.h"
#include "tools/demo-station/demo_project.h"

namespace {

namespace fs = std::filesystem;
constexpr double kByteUs = 11.0;
constexpr double kReadIntervalUs = 3000.0;

using Options = zek::bench::RunOptions;
using zek::bench::LineNames;

double ChildrenCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return s(u.ru_utime) + s(u.ru_stime);
}

// The station's port scan finds each line as an FTDI USB serial port.
void ListAsUsbPorts(const std::string& link_dir, int units, const std::string& sysfs) {
  for (int i = 1; i <= units; ++i) {
    struct stat link {};
    if (::stat((link_dir + "/COM" + std::to_string(i)).c_str(), &link) != 0) throw std::runtime_error("no line link");
    const fs::path tty = fs::path(sysfs) / "class" / "tty" / ("ttyUSB" + std::to_string(i - 1));
    fs::create_directories(tty / "device");
    std::ofstream(tty / "dev") << major(link.st_rdev) << ":" << minor(link.st_rdev) << "\n";
    fs::create_directory_symlink("../../../../bus/usb-serial/drivers/ftdi_sio", tty / "device" / "driver");
  }
}

struct Probe {
  double busy_s = 0, cpu_busy_s = 0, max_gap_ms = 0;
  long ticks = 0;
};

Probe ReadProbe(const std::string& path) {
  Probe p;
  if (std::FILE* f = std::fopen(path.c_str(), "r")) {
    if (std::fscanf(f, "busy_s=%lf cpu_busy_s=%lf max_tick_gap_ms=%lf busy_ticks=%ld", &p.busy_s, &p.cpu_busy_s,
                    &p.max_gap_ms, &p.ticks) != 4)
      p = Probe{};
    std::fclose(f);
  }
  return p;
}

// The download the station makes of the demo project, built by its own
// routines (the control bytes may differ from the window's; the sizes not).
zek::bench::Script DownloadScript(const Options& o) {
  zek::testing::FakeStation fs;
  zek::demo::PrepareDemoProject(fs.st, o.kb);
  return zek::bench::CaptureScript(fs, zek::StartDownload);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = zek::bench::ParseRunOptions(argc, argv);
  // Units and lines are child processes: forked before any thread exists.
  zek::testing::SimUnits sim({"-n", std::to_string(o.units)});
  const std::string lines_dir = sim.Dir() + "-lines";
  fs::create_directory(lines_dir);
  zek::bench::LineRelay relay(sim.Dir(), lines_dir, LineNames(o.units), true);
  QCoreApplication app(argc, argv);

  zek::testing::TempDir folder;
  fs::create_symlink(STATION_EXE, folder.File("DorvikLumo_ZEK"));
  zek::testing::FirmwareRecipe firmware;
  firmware.image.assign(8192, 0x5A);
  zek::testing::WriteBytes(folder.File("DKxLumZEK.FWR"), zek::testing::BuildFirmwareFile(firmware));
  const std::string project = folder.File("bench.RQT");
  zek::demo::WriteDemoProject(project, o.kb);
  ListAsUsbPorts(lines_dir, o.units, folder.File("sysfs"));

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ZEK_COM_DIR", QString::fromStdString(lines_dir));
  env.insert("ZEK_SYSFS_ROOT", QString::fromStdString(folder.File("sysfs")));
  env.insert("ZEK_TICK_PROBE", QString::fromStdString(folder.File("probe.txt")));
  const zek::bench::Script script = DownloadScript(o);
  bool ideal_ok = true;
  auto ideal = [&] { return zek::bench::MeasureIdealStation(relay, lines_dir, LineNames(o.units), script, ideal_ok); };
  const zek::bench::SpanFigure before = ideal();
  QProcess station;
  station.setProcessEnvironment(env);
  station.setProcessChannelMode(QProcess::ForwardedChannels);
  relay.Reset();
  const double cpu0 = ChildrenCpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  station.start(QString::fromStdString(folder.File("DorvikLumo_ZEK")), {QString::fromStdString(project), "OFF"});
  const bool finished = station.waitForFinished(600000);
  const double process_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const double cpu_s = ChildrenCpuSeconds() - cpu0;
  const std::vector<zek::bench::LineStats> stats = relay.Stats();
  const zek::bench::SpanFigure after = ideal();
  fs::remove_all(lines_dir);
  if (!finished || station.exitStatus() != QProcess::NormalExit || station.exitCode() != 0) {
    std::fprintf(stderr, "the station did not finish its run (exit %d)\n", station.exitCode());
    return 1;
  }
  if (!ideal_ok) {
    std::fprintf(stderr, "the ideal station's run failed\n");
    return 1;
  }
  const Probe p = ReadProbe(folder.File("probe.txt"));
  double wire_us = 0;
  uint64_t sent = 0, received = 0;
  for (const zek::bench::LineStats& s : stats) {
    wire_us = std::max(wire_us, static_cast<double>(s.to_unit + s.to_station) * kByteUs);
    sent += s.to_unit;
    received += s.to_station;
  }
  const double blocks = (o.kb + 3) / 4;
  std::printf("station command line, %d units x %u KiB, paced at 1,000,000 baud\n", o.units, o.kb);
  std::printf("  bytes on the lines      %llu sent, %llu received (search included)\n",
              static_cast<unsigned long long>(sent), static_cast<unsigned long long>(received));
  std::printf("  download wall time      %.3f s (first to last busy tick)\n", p.busy_s);
  std::printf("  wire time (reference)   %.3f s on the busiest line\n", wire_us / 1e6);
  std::printf("  wire / wall             %.3f  (target >= 0.90; %.3f with no time lost beyond the 3 ms)\n",
              wire_us / 1e6 / p.busy_s, wire_us / (wire_us + blocks * kReadIntervalUs));
  zek::bench::PrintCeiling(zek::bench::TransferSpan(stats), before, after, 24);
  std::printf("  process wall time       %.3f s (start-up, search, download, close)\n", process_s);
  std::printf("  station CPU, whole run  %.3f s = %.2f %% of one core over the process  (target < 5 %%)\n", cpu_s,
              100.0 * cpu_s / process_s);
  std::printf("  station CPU, download   %.3f s = %.2f %% of one core\n", p.cpu_busy_s,
              p.busy_s > 0 ? 100.0 * p.cpu_busy_s / p.busy_s : 0.0);
  std::printf("  10 ms timer, worst gap  %.2f ms over %ld busy ticks\n", p.max_gap_ms, p.ticks);
  return 0;
}
