// The command-line download: `DorvikLumo_ZEK project OFF` against ten
// simulated units, and what a failing unit or a bad project does.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "station/window/program.h"
#include "tests/support/fake_views.h"
#include "tests/window/window_events.h"
#include "tests/window_e2e/station_run.h"
#include "tools/demo-station/demo_project.h"

namespace zek::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

int LinesEndingWith(const std::vector<std::string>& lines, const std::string& end) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.size() >= end.size() && l.compare(l.size() - end.size(), end.size(), end) == 0;
  }));
}

// Which units hold the demo image, once stopped: as their download, or
// (`what` "chip") in the chip their stand-alone run programmed from it.
std::vector<int> UnitsHoldingTheImage(StationFolder& f, int units, const std::string& what = "download") {
  EXPECT_EQ(f.Units().Stop(), 0);
  const std::vector<uint8_t> image = demo::DemoImage(kDemoKB);
  std::vector<int> holding;
  for (int i = 1; i <= units; ++i) {
    if (TempDir::Read(f.DumpDir() + "/COM" + std::to_string(i) + "." + what) == image) holding.push_back(i);
  }
  return holding;
}

// Runs `project OFF` to its end and checks that it succeeded: status 0, the
// result file, and `downloads` units saying so in the close-time log, which
// it returns (empty when there is none).
std::vector<std::string> SucceededRun(StationFolder& f, int downloads) {
  const std::optional<int> status = f.Run({f.Project(), "OFF"}, 60s);
  if (!status.has_value()) {
    ADD_FAILURE() << "the station did not exit";
    return {};
  }
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(ReadLines(f.Path("ResDW.Txt")), std::vector<std::string>{"Download Success"});
  const auto log = f.NewestLog();
  if (!log.has_value()) {
    ADD_FAILURE() << "no system-named log file";
    return {};
  }
  EXPECT_EQ(LinesEndingWith(*log, ": Download Success!"), downloads);
  return *log;
}

TEST(CommandLine, TenUnitsReceiveTheProjectAndTheStationExits) {
  // Each unit programs one chip on its own once the download has put it
  // off-line, so the chips show what the units were given.
  StationFolder f(10, {"--runs", "1", "--run-gap", "0", "--report-gap", "0"});
  SucceededRun(f, 10);
  // A unit's run may still be going when the station exits.
  for (int i = 1; i <= 10; ++i)
    EXPECT_TRUE(f.Units().WaitForOutput("COM" + std::to_string(i) + " runs done\n", 30s)) << "unit " << i;
  EXPECT_EQ(UnitsHoldingTheImage(f, 10, "chip"), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  for (int i = 1; i <= 10; ++i)
    EXPECT_EQ(TempDir::Read(f.DumpDir() + "/COM" + std::to_string(i) + ".download"), demo::DemoImage(kDemoKB)) << i;
}

TEST(CommandLine, AFailingUnitLeavesTheStationOpenWithoutResult) {
  StationFolder f(10, {"--fail", "4:download@8=44"});
  // The downloads take well under a second; the station must still be
  // waiting for the tenth when the limit comes.
  EXPECT_FALSE(f.Run({f.Project(), "OFF"}, 8s).has_value());
  EXPECT_FALSE(fs::exists(f.Path("ResDW.Txt")));
  EXPECT_EQ(UnitsHoldingTheImage(f, 10), (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10}));
}

TEST(CommandLine, AnUnwritableResultFileEndsTheRunWithStatusOne) {
  StationFolder f(2);
  fs::create_directory(f.Path("ResDW.Txt"));
  const std::optional<int> status = f.Run({f.Project(), "off"}, 60s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit";
  EXPECT_EQ(*status, 1);
  const auto log = f.NewestLog();
  ASSERT_TRUE(log.has_value()) << "no system-named log file";
  EXPECT_EQ(std::count_if(log->begin(), log->end(),
                          [](const std::string& l) { return l.find("Write ResDW.Txt error!") != std::string::npos; }),
            1);
}

// COM5's unit drops its line when asked who it is, so the nine others sit
// in slots around a gap: each of them gets the project, and the run ends
// with its result.
TEST(CommandLine, AUnitLostAtIdentityLeavesEveryIdentifiedUnitDownloaded) {
  StationFolder f(10, {"--hangup", "5:identity"});
  EXPECT_EQ(LinesEndingWith(SucceededRun(f, 9), " C6: Port COM5 hung up!"), 1);
  EXPECT_EQ(UnitsHoldingTheImage(f, 10), (std::vector<int>{1, 2, 3, 4, 6, 7, 8, 9, 10}));
}

// The connection file names an adapter that is not plugged in between two
// units: it is reported, and the run does not wait for a unit it cannot
// have.
TEST(CommandLine, AListedPortThatCannotOpenLeavesTheOthersDownloaded) {
  StationFolder f(2);
  fs::create_symlink("/nonexistent/ttyUSB9", f.Units().Dir() + "/COM9");
  std::ofstream(f.Path("ConfigZEK.ini")) << "[Connection]\nTotDev=3\nDev1=COM1\nDev2=COM9\nDev3=COM2\n";
  EXPECT_EQ(LinesEndingWith(SucceededRun(f, 2), " Error opening serial port:COM9"), 1);
  EXPECT_EQ(UnitsHoldingTheImage(f, 2), (std::vector<int>{1, 2}));
}

// The index of the first line holding `text`; the line count when none.
size_t LineWith(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<size_t>(std::find_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return l.find(text) != std::string::npos; }) -
                             lines.begin());
}

class LateUnitTest : public ::testing::TestWithParam<int> {};

// COM2's unit drops its line when asked who it is, which shortens the port
// list, and COM3's unit answers late: the run waits for it, and both
// units found get the project before the result is written.
TEST_P(LateUnitTest, BehindAHangUpIsWaitedForAndDownloaded) {
  StationFolder f(3, {"--hangup", "2:identity", "--late", "3:identity=" + std::to_string(GetParam())});
  const std::vector<std::string> log = SucceededRun(f, 2);
  EXPECT_EQ(LinesEndingWith(log, " C2: Port COM2 hung up!"), 1);
  const size_t found = LineWith(log, " C3: Found Device 3 : ");
  ASSERT_LT(found, log.size());
  EXPECT_LT(found, LineWith(log, " Programmer 1 : Start to download data......"));
  EXPECT_EQ(UnitsHoldingTheImage(f, 3), (std::vector<int>{1, 3}));
}

INSTANTIATE_TEST_SUITE_P(Delays, LateUnitTest, ::testing::Values(150, 1500),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "ms"; });

struct UnfinishedRun {
  const char* name;
  std::vector<std::string> sim_args;
  std::vector<int> holding;  // the units that received the image
};
void PrintTo(const UnfinishedRun& r, std::ostream* os) { *os << r.name; }

class UnfinishedRunTest : public ::testing::TestWithParam<UnfinishedRun> {};

// A unit that never answers behind one that hung up is still waited for;
// a unit that hangs up during its download leaves that download failed.
// Either way the run gives no result and the station stays open.
TEST_P(UnfinishedRunTest, GivesNoResult) {
  StationFolder f(3, GetParam().sim_args);
  EXPECT_FALSE(f.Run({f.Project(), "OFF"}, 8s).has_value());
  EXPECT_FALSE(fs::exists(f.Path("ResDW.Txt")));
  EXPECT_EQ(UnitsHoldingTheImage(f, 3), GetParam().holding);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnfinishedRunTest,
    ::testing::Values(UnfinishedRun{"SilentUnitBehindAHangUp", {"--hangup", "2:identity", "--silent", "3:identity"}, {}},
                      UnfinishedRun{"HangUpDuringTheDownload", {"--hangup", "2:download@8"}, {1, 3}}),
    [](const ::testing::TestParamInfo<UnfinishedRun>& info) { return std::string(info.param.name); });

struct BadProject {
  const char* file;
  const char* line;
};

class BadProjectTest : public ::testing::TestWithParam<BadProject> {};

// In-process, where the log can be read while the station stays open.
TEST_P(BadProjectTest, GivesItsLineAndDownloadsNothing) {
  StationFolder f(3);
  const std::string path = f.Path(GetParam().file);
  if (std::string(GetParam().file) == "corrupt.RQT") std::ofstream(path) << std::string(5000, 'Z');
  FakeBoxes boxes;
  MainFormOptions options;
  options.ProgramPath = f.Path("DorvikLumo_ZEK");
  options.Arguments = {path, "OFF"};
  StationProgram program(EnglishEdition(), options);
  program.State().Views.Boxes = &boxes;
  program.Main().show();
  ASSERT_TRUE(RunEventsUntil([&] { return !program.Main().Timer2->isActive(); }, 20000));
  EXPECT_EQ(program.State().DevicesFound, 3);
  const std::string expected = std::string(GetParam().line).replace(std::string(GetParam().line).find("%s"), 2, path);
  EXPECT_EQ(LinesEndingWith(program.Main().Memo().Lines(), " " + expected), 1);
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(program.State().PortBusy[slot], 0);
  EXPECT_EQ(program.State().DownloadsDone, 0);
  EXPECT_TRUE(UnitsHoldingTheImage(f, 3).empty());
}

INSTANTIATE_TEST_SUITE_P(Table, BadProjectTest,
                         ::testing::Values(BadProject{"absent.RQT", "File of %s is not found!"},
                                           BadProject{"corrupt.RQT", "Project File of %s is corrupted!"}),
                         [](const ::testing::TestParamInfo<BadProject>& info) {
                           return std::string(info.param.file).substr(0, std::string(info.param.file).find('.'));
                         });

}  // namespace
}  // namespace zek::testing
