#include "tests/window_e2e/station_run.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>

#include "tests/support/firmware_fixture.h"
#include "tools/demo-station/demo_project.h"

namespace zek::testing {

namespace fs = std::filesystem;

StationFolder::StationFolder(int units, const std::vector<std::string>& sim_args, const std::string& program) {
  fs::create_directories(DumpDir());
  std::vector<std::string> args{"-n", std::to_string(units), "--unpaced", "--dump", DumpDir()};
  args.insert(args.end(), sim_args.begin(), sim_args.end());
  units_ = std::make_unique<SimUnits>(args);
  fs::create_symlink(program, Path("DorvikLumo_ZEK"));
  FirmwareRecipe firmware;
  firmware.image.assign(8192, 0x5A);
  WriteBytes(Path("DKxLumZEK.FWR"), BuildFirmwareFile(firmware));
  demo::WriteDemoProject(Project(), kDemoKB);
  ListUnitsAsUsbPorts(units);
}

StationFolder::~StationFolder() { unsetenv("ZEK_SYSFS_ROOT"); }

// The connection file names at most nine slots, so ten units are found the
// way USB serial ports are: one FTDI tty per unit, of the unit's device.
void StationFolder::ListUnitsAsUsbPorts(int units) {
  for (int i = 1; i <= units; ++i) {
    struct stat link {};
    if (::stat((units_->Dir() + "/COM" + std::to_string(i)).c_str(), &link) != 0)
      throw std::runtime_error("no link for unit " + std::to_string(i));
    const fs::path tty = fs::path(Path("sysfs")) / "class" / "tty" / ("ttyUSB" + std::to_string(i - 1));
    fs::create_directories(tty / "device");
    std::ofstream(tty / "dev") << major(link.st_rdev) << ":" << minor(link.st_rdev) << "\n";
    fs::create_directory_symlink("../../../../bus/usb-serial/drivers/ftdi_sio", tty / "device" / "driver");
  }
  setenv("ZEK_SYSFS_ROOT", Path("sysfs").c_str(), 1);
}

std::optional<std::vector<std::string>> StationFolder::NewestLog() const {
  std::string newest;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(Path("Log"), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ZEK_", 0) == 0 && name > fs::path(newest).filename().string()) newest = entry.path().string();
  }
  if (newest.empty()) return std::nullopt;
  std::ifstream in(newest);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::optional<int> StationFolder::Run(const std::vector<std::string>& arguments, std::chrono::milliseconds limit) {
  StationLaunch launch;
  launch.arguments = arguments;
  return Run(launch, limit);
}

std::optional<int> StationFolder::Run(const StationLaunch& launch, std::chrono::milliseconds limit) {
  return StationProcess(*this, launch).Finish(limit);
}

StationProcess::StationProcess(StationFolder& folder, const StationLaunch& launch)
    : process_(std::make_unique<QProcess>()) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  for (const auto& [name, value] : launch.env) env.insert(QString::fromStdString(name), QString::fromStdString(value));
  QStringList args;
  for (const std::string& a : launch.arguments) args << QString::fromStdString(a);
  QString program = QString::fromStdString(launch.program.empty() ? folder.Path("DorvikLumo_ZEK") : launch.program);
  if (!launch.search_path.empty()) {
    env.insert("PATH", QString::fromStdString(launch.search_path));
    args = QStringList{"-c", "exec DorvikLumo_ZEK \"$@\"", "sh"} + args;
    program = "/bin/sh";
  }
  process_->setProcessEnvironment(env);
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  if (!launch.working_dir.empty()) process_->setWorkingDirectory(QString::fromStdString(launch.working_dir));
  if (launch.in_child) process_->setChildProcessModifier(launch.in_child);
  process_->start(program, args);
  if (!process_->waitForStarted(10000)) throw std::runtime_error("the station did not start");
}

StationProcess::~StationProcess() {
  if (process_->state() == QProcess::NotRunning) return;
  process_->kill();
  process_->waitForFinished(10000);
}

bool StationProcess::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (process_->state() == QProcess::NotRunning || std::chrono::steady_clock::now() >= end) return false;
    process_->waitForFinished(20);
  }
  return true;
}

void StationProcess::Signal(int signo) { ::kill(static_cast<pid_t>(process_->processId()), signo); }

long StationProcess::Pid() const { return static_cast<long>(process_->processId()); }

std::optional<int> StationProcess::Finish(std::chrono::milliseconds limit) {
  if (process_->state() != QProcess::NotRunning) process_->waitForFinished(static_cast<int>(limit.count()));
  if (process_->state() == QProcess::NotRunning && process_->exitStatus() == QProcess::NormalExit)
    return process_->exitCode();
  process_->kill();
  process_->waitForFinished(10000);
  return std::nullopt;
}

}  // namespace zek::testing
