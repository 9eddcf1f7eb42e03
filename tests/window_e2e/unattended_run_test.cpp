// Runs nobody watches, through the real program against simulated units:
// they end on their own whatever goes wrong, a stop leaves the close-time
// log, a signal the caller ignores stays ignored, what a box would have
// said reaches standard error, a full disk leaves no cut result, and a
// program started by name keeps its files beside itself.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/window_e2e/station_run.h"
#include "tools/demo-station/demo_project.h"

namespace zek::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr char kResult[] = "Download Success\n";
constexpr char kCloseLine[] = "> Current Programmer Setup as below:";

bool HasLineEndingWith(const std::vector<std::string>& lines, const std::string& end) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.size() >= end.size() && l.compare(l.size() - end.size(), end.size(), end) == 0;
  });
}

std::string ResultOf(const StationFolder& f) {
  const std::vector<uint8_t> bytes = TempDir::Read(f.Path("ResDW.Txt"));
  return {bytes.begin(), bytes.end()};
}

// Whether every unit holds `image` as its download, once stopped.
bool EveryUnitHolds(StationFolder& f, int units, const std::vector<uint8_t>& image) {
  EXPECT_EQ(f.Units().Stop(), 0);
  for (int i = 1; i <= units; ++i)
    if (TempDir::Read(f.DumpDir() + "/COM" + std::to_string(i) + ".download") != image) return false;
  return true;
}

struct EndCase {
  const char* name;
  // Readies the folder; returns the project to run.
  std::string (*prepare)(StationFolder& f);
  int status;
  bool result;                // "ResDW.Txt" written
  // The message of a line in the log; none when no log can be written.
  std::string (*line)(const StationFolder& f);
  uint16_t image_kb;          // the units then hold the demo image of this size; 0: no download
};

class UnattendedEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(UnattendedEndTest, EndsOnItsOwn) {
  const EndCase& c = GetParam();
  StationFolder f(2);
  const std::string project = c.prepare(f);
  const std::optional<int> status = f.Run({project, "OFF"}, 60s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit";
  EXPECT_EQ(*status, c.status);
  EXPECT_EQ(ResultOf(f), c.result ? kResult : "");
  if (c.line != nullptr) {
    const auto log = f.NewestLog();
    ASSERT_TRUE(log.has_value()) << "no system-named log file";
    const std::string message = c.line(f);
    EXPECT_TRUE(HasLineEndingWith(*log, std::string(" ") + message)) << message;
    EXPECT_TRUE(HasLineEndingWith(*log, kCloseLine));
  }
  if (c.image_kb != 0) {
    EXPECT_TRUE(EveryUnitHolds(f, 2, demo::DemoImage(c.image_kb)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnattendedEndTest,
    ::testing::Values(
        EndCase{"AdapterBoardProject",
                [](StationFolder& f) {
                  demo::WriteDemoProject(f.Path("board.RQT"), "BF7112A-JCST");
                  return f.Path("board.RQT");
                },
                0, true, [](const StationFolder&) { return std::string("Note: This chip need use \"BF7112-CNV\" Board!"); },
                32},
        EndCase{"MissingFirmwareFile",
                [](StationFolder& f) {
                  fs::remove(f.Path("DKxLumZEK.FWR"));
                  return f.Project();
                },
                0, true,
                [](const StationFolder& f) {
                  return "File \"" + f.Path("DKxLumZEK.FWR") + "\"Not Found, Please Confirm!";
                },
                kDemoKB},
        EndCase{"LogFolderIsAFile",
                [](StationFolder& f) {
                  std::ofstream(f.Path("Log")) << "not a folder\n";
                  return f.Project();
                },
                0, true, nullptr, kDemoKB},
        EndCase{"MissingProject", [](StationFolder& f) { return f.Path("absent.RQT"); }, 1, false,
                [](const StationFolder& f) { return "File of " + f.Path("absent.RQT") + " is not found!"; }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A run that waits on its own: the command line for unit 2, which never
// answers, or the window for an operator to confirm the missing firmware
// file.
StationLaunch WaitingRun(StationFolder& f, bool command_line) {
  StationLaunch launch;
  if (command_line) {
    launch.arguments = {f.Project(), "OFF"};
  } else {
    fs::remove(f.Path("DKxLumZEK.FWR"));
  }
  return launch;
}

struct StopCase {
  const char* name;
  int signo;
  bool command_line;  // else a window waiting on its start-up box
};

class StopSignalTest : public ::testing::TestWithParam<StopCase> {};

// The command-line run waits for a unit that never answers; the window
// waits for an operator to confirm the missing firmware file.
TEST_P(StopSignalTest, ClosesTheWindowAndLeavesTheCloseTimeLog) {
  const StopCase& c = GetParam();
  StationFolder f(2, {"--silent", "2:identity"});
  StationProcess station(f, WaitingRun(f, c.command_line));
  // The folder "Log" is made once the window shows, after the handlers are set.
  ASSERT_TRUE(station.WaitFor([&] { return fs::exists(f.Path("Log")); }, 20s));
  station.Signal(c.signo);
  const std::optional<int> status = station.Finish(20s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit on its own";
  EXPECT_EQ(*status, 128 + c.signo);
  const auto log = f.NewestLog();
  ASSERT_TRUE(log.has_value()) << "no close-time log";
  EXPECT_TRUE(HasLineEndingWith(*log, "Hello DorvikLumo-ZEK User! "));
  EXPECT_TRUE(HasLineEndingWith(*log, kCloseLine));
  EXPECT_EQ(ResultOf(f), "");
}

INSTANTIATE_TEST_SUITE_P(Table, StopSignalTest,
                         ::testing::Values(StopCase{"Term", SIGTERM, true}, StopCase{"Int", SIGINT, true},
                                           StopCase{"Hup", SIGHUP, true}, StopCase{"TermAtTheBox", SIGTERM, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whether the process's status mask `key` ("SigIgn:" ignored, "SigCgt:"
// caught; hexadecimal, bit n - 1 for signal n) holds the signal.
bool InStatusMask(long pid, const std::string& key, int signo) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return ((std::stoull(line.substr(key.size()), nullptr, 16) >> (signo - 1)) & 1) != 0;
  }
  return false;
}

bool Ignores(long pid, int signo) { return InStatusMask(pid, "SigIgn:", signo); }

bool Catches(long pid, int signo) { return InStatusMask(pid, "SigCgt:", signo); }

struct IgnoredCase {
  const char* name;
  int ignored;        // by the caller, before the program starts
  bool command_line;  // else a window waiting on its start-up box
};

class IgnoredSignalTest : public ::testing::TestWithParam<IgnoredCase> {};

// As nohup leaves SIGHUP: the ignored signal passes the station by, and
// SIGTERM still closes it with its log.
TEST_P(IgnoredSignalTest, StaysIgnoredAndTermStillCloses) {
  const IgnoredCase& c = GetParam();
  StationFolder f(2, {"--silent", "2:identity"});
  StationLaunch launch = WaitingRun(f, c.command_line);
  const int ignored = c.ignored;
  launch.in_child = [ignored] { ::signal(ignored, SIG_IGN); };
  StationProcess station(f, launch);
  ASSERT_TRUE(station.WaitFor([&] { return fs::exists(f.Path("Log")); }, 20s));
  // Two signals sent together may be handled in either order: the kernel
  // itself must drop the ignored one.
  EXPECT_TRUE(Ignores(station.Pid(), c.ignored));
  EXPECT_FALSE(Ignores(station.Pid(), SIGTERM));
  station.Signal(c.ignored);
  station.Signal(SIGTERM);
  const std::optional<int> status = station.Finish(20s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit on its own";
  EXPECT_EQ(*status, 128 + SIGTERM);
  const auto log = f.NewestLog();
  ASSERT_TRUE(log.has_value()) << "no close-time log";
  EXPECT_TRUE(HasLineEndingWith(*log, kCloseLine));
  EXPECT_EQ(ResultOf(f), "");
}

INSTANTIATE_TEST_SUITE_P(Table, IgnoredSignalTest,
                         ::testing::Values(IgnoredCase{"Hup", SIGHUP, true}, IgnoredCase{"Int", SIGINT, true},
                                           IgnoredCase{"HupAtTheBox", SIGHUP, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Sent alone once the station has taken its stop signals, while it still
// waits for a late unit: the hang-up nohup ignored changes nothing, and the
// run ends as its download makes it.
TEST(IgnoredHangUp, LeavesTheRunToEndWithItsResult) {
  StationFolder f(2, {"--late", "2:identity=3000"});
  StationLaunch launch;
  launch.arguments = {f.Project(), "OFF"};
  launch.in_child = [] { ::signal(SIGHUP, SIG_IGN); };
  StationProcess station(f, launch);
  ASSERT_TRUE(station.WaitFor([&] { return Catches(station.Pid(), SIGTERM); }, 20s));
  station.Signal(SIGHUP);
  const std::optional<int> status = station.Finish(60s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit on its own";
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(ResultOf(f), kResult);
}

// Standard error of the started program goes to `path`.
std::function<void()> StandardErrorTo(const std::string& path) {
  return [path] {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) ::dup2(fd, STDERR_FILENO);
  };
}

struct ToldCase {
  const char* name;
  // Readies the folder; returns the project to run.
  std::string (*prepare)(StationFolder& f);
  int status;
  // The text of the box the run did not show.
  std::string (*text)(const StationFolder& f);
};

class ToldOnStandardErrorTest : public ::testing::TestWithParam<ToldCase> {};

TEST_P(ToldOnStandardErrorTest, IsOneLineAndTheStatusStaysTheRunsOwn) {
  const ToldCase& c = GetParam();
  StationFolder f(2);
  StationLaunch launch;
  launch.arguments = {c.prepare(f), "OFF"};
  const std::string told = f.Path("stderr.txt");
  launch.in_child = StandardErrorTo(told);
  const std::optional<int> status = f.Run(launch, 60s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit";
  EXPECT_EQ(*status, c.status);
  std::ifstream in(told);
  std::vector<std::string> lines;
  std::string all;
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
    all += line + "\n";
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), c.text(f)), 1) << all;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToldOnStandardErrorTest,
    ::testing::Values(ToldCase{"UnwritableCloseLog",
                               [](StationFolder& f) {
                                 std::ofstream(f.Path("Log")) << "not a folder\n";
                                 return f.Project();
                               },
                               0, [](const StationFolder&) { return std::string("Write Log File error!"); }},
                      ToldCase{"MissingFirmwareFile",
                               [](StationFolder& f) {
                                 fs::remove(f.Path("DKxLumZEK.FWR"));
                                 return f.Project();
                               },
                               0,
                               [](const StationFolder& f) {
                                 return "File \"" + f.Path("DKxLumZEK.FWR") + "\"Not Found, Please Confirm!";
                               }},
                      ToldCase{"MissingProject", [](StationFolder& f) { return f.Path("absent.RQT"); }, 1,
                               [](const StationFolder& f) { return "File of " + f.Path("absent.RQT") + " is not found!"; }},
                      ToldCase{"ProjectIsAFolder",
                               [](StationFolder& f) {
                                 fs::create_directory(f.Path("folder.RQT"));
                                 return f.Path("folder.RQT");
                               },
                               1, [](const StationFolder&) { return std::string("Invalid file name"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A real X server that the test can take away.
class XServer {
 public:
  XServer() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) return;
    server_.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
    // The server writes its display number once it takes clients.
    while (server_.waitForReadyRead(10000) || server_.state() == QProcess::Running) {
      display_ += server_.readAllStandardOutput().toStdString();
      if (display_.find('\n') != std::string::npos) break;
      if (server_.state() != QProcess::Running) break;
    }
    const std::string number = display_.substr(0, display_.find('\n'));
    display_ = number.empty() ? std::string() : std::string(":") + number;
  }
  ~XServer() { Stop(); }
  const std::string& Display() const { return display_; }
  void Stop() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.terminate();
    if (!server_.waitForFinished(10000)) server_.kill();
    server_.waitForFinished(10000);
  }

 private:
  QProcess server_;
  std::string display_;
};

TEST(LostDisplay, LeavesTheCloseTimeLog) {
  XServer x;
  if (x.Display().empty()) GTEST_SKIP() << "no Xvfb to take away";
  StationFolder f(2, {"--silent", "2:identity"});
  StationLaunch launch;
  launch.arguments = {f.Project(), "OFF"};
  launch.env = {{"QT_QPA_PLATFORM", "xcb"},
                {"DISPLAY", x.Display()},
                {"LSAN_OPTIONS", std::string("suppressions=") + LOST_DISPLAY_LSAN_SUPP}};
  StationProcess station(f, launch);
  ASSERT_TRUE(station.WaitFor([&] { return fs::exists(f.Path("Log")); }, 20s));
  x.Stop();
  ASSERT_TRUE(station.Finish(20s).has_value()) << "the station did not exit on its own";
  const auto log = f.NewestLog();
  ASSERT_TRUE(log.has_value()) << "no close-time log";
  EXPECT_TRUE(HasLineEndingWith(*log, kCloseLine));
}

// The program's folder is a small file system filled up, or the process
// may not write any byte to a file.
struct DiskCase {
  const char* name;
  bool full_disk;
};

class FailingDiskTest : public ::testing::TestWithParam<DiskCase> {
 protected:
  ~FailingDiskTest() override {
    if (mounted_) ::umount2(disk_.c_str(), MNT_DETACH);
  }
  // A station folder of its own on a full tmpfs: the program's link and
  // the firmware file; false when this process may not mount one.
  bool MountFullDisk(StationFolder& f) {
    disk_ = f.Path("disk");
    fs::create_directory(disk_);
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=256k") != 0) return false;
    mounted_ = true;
    fs::create_symlink(fs::read_symlink(f.Path("DorvikLumo_ZEK")), disk_ + "/DorvikLumo_ZEK");
    fs::copy_file(f.Path("DKxLumZEK.FWR"), disk_ + "/DKxLumZEK.FWR");
    std::ofstream filler(disk_ + "/filler", std::ios::binary);
    const std::string block(4096, 'F');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) filler.flush();
    return true;
  }
  std::string disk_;
  bool mounted_ = false;
};

TEST_P(FailingDiskTest, LeavesNoResultFileAndTheRunEnds) {
  StationFolder f(2);
  StationLaunch launch;
  launch.arguments = {f.Project(), "OFF"};
  std::string folder = f.Path("");
  if (GetParam().full_disk) {
    if (!MountFullDisk(f)) GTEST_SKIP() << "no tmpfs can be mounted here";
    folder = disk_ + "/";
    launch.program = folder + "DorvikLumo_ZEK";
  } else {
    launch.in_child = [] {
      const rlimit none{0, 0};
      ::setrlimit(RLIMIT_FSIZE, &none);
      ::signal(SIGXFSZ, SIG_IGN);
    };
  }
  const std::optional<int> status = f.Run(launch, 60s);
  EXPECT_FALSE(fs::exists(folder + "ResDW.Txt")) << fs::file_size(folder + "ResDW.Txt") << " bytes";
  EXPECT_FALSE(fs::exists(folder + "ResDW.Txt.new"));
  ASSERT_TRUE(status.has_value()) << "the station did not exit";
  EXPECT_EQ(*status, 1);
  EXPECT_TRUE(EveryUnitHolds(f, 2, demo::DemoImage(kDemoKB)));
}

INSTANTIATE_TEST_SUITE_P(Table, FailingDiskTest,
                         ::testing::Values(DiskCase{"FullDisk", true}, DiskCase{"NoFileBytes", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ByName, AProgramFoundThroughPathFromAnotherFolderKeepsItsFilesBesideItself) {
  StationFolder f(2);
  fs::create_directories(f.Path("elsewhere"));
  fs::create_directories(f.Path("empty"));
  StationLaunch launch;
  launch.arguments = {f.Project(), "OFF"};
  launch.search_path = f.Path("empty") + ":" + f.Path("") + ":/usr/bin:/bin";
  launch.working_dir = f.Path("elsewhere");
  const std::optional<int> status = f.Run(launch, 60s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit";
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(ResultOf(f), kResult);
  const auto log = f.NewestLog();
  ASSERT_TRUE(log.has_value()) << "no log beside the program";
  EXPECT_FALSE(HasLineEndingWith(*log, "Not Found, Please Confirm!"));
  EXPECT_TRUE(fs::is_empty(f.Path("elsewhere")));
  EXPECT_TRUE(EveryUnitHolds(f, 2, demo::DemoImage(kDemoKB)));
}

}  // namespace
}  // namespace zek::testing
