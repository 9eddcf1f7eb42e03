// The two timers: time-outs and time-driven gauges, the command-line
// project, and the exit with its result file.

#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "station/data/format.h"
#include "serial/comm_component.h"
#include "tests/serial/pty_support.h"
#include "tests/support/reply_builder.h"
#include "tests/window/station_units_fixture.h"
#include "tools/demo-station/demo_project.h"

namespace zek::testing {
namespace {

class Timer1Test : public WindowTest {
 protected:
  Timer1Test() { Start(); }
  void Busy(int slot, uint16_t timeout, int gauge_max = 100) {
    st().PortBusy[slot] = 1;
    st().PortState[slot] = 3;
    st().PortTimeout[slot] = timeout;
    form().GaugeOf(slot).SetMax(gauge_max);
    form().GaugeOf(slot).SetProgress(0);
  }
  int Progress(int slot) { return form().GaugeOf(slot).Progress(); }
  // Where each slot's latest download stands, and the count that follows.
  void SetDownloads(const std::vector<uint8_t>& downloads) {
    st().PortDownload.fill(kDownloadNone);
    std::copy(downloads.begin(), downloads.end(), st().PortDownload.begin());
    st().DownloadsDone = static_cast<uint8_t>(std::count(downloads.begin(), downloads.end(), kDownloadSucceeded));
  }
};

TEST_F(Timer1Test, TimeOutOfOneFailsOnTheNextTickAndIdleSlotsKeepTheirs) {
  Busy(0, 1);
  Busy(4, 3);
  st().PortTimeout[2] = 7;
  form().Timer1Timer();
  EXPECT_EQ(st().PortBusy[0], 0);
  EXPECT_EQ(st().PortState[0], kStateIdle);
  EXPECT_EQ(form().GaugeOf(0).Color(), kGaugeRed);
  EXPECT_EQ(Progress(0), 100);
  EXPECT_EQ(MemoLines().back(), "> 10:15:02 C1: Operation Time Out!");
  EXPECT_EQ(st().PortTimeout[4], 2);
  EXPECT_EQ(st().PortBusy[4], 1);
  EXPECT_EQ(st().PortTimeout[2], 7);
  form().Timer1Timer();
  form().Timer1Timer();
  EXPECT_EQ(MemoLines().back(), "> 10:15:02 C5: Operation Time Out!");
  EXPECT_EQ(st().PortTimeout[2], 7);
}

TEST_F(Timer1Test, TimeGaugeAdvancesEachBusySlotByOneAndStopsAtItsMaximum) {
  Busy(1, 500, 2);
  Busy(7, 500, 5);
  st().TimeGauge = 1;
  form().Timer1Timer();
  EXPECT_EQ(Progress(1), 1);
  EXPECT_EQ(Progress(7), 1);
  EXPECT_EQ(Progress(3), 0);
  form().Timer1Timer();
  form().Timer1Timer();
  EXPECT_EQ(Progress(1), 2);
  EXPECT_EQ(Progress(7), 3);
  EXPECT_EQ(Progress(3), 0);
  EXPECT_EQ(st().PortTimeout[1], 497);
}

TEST_F(Timer1Test, AnEndedOperationStopsEveryGaugeMovingByTime) {
  Busy(0, 1);
  Busy(5, 50);
  st().TimeGauge = 1;
  form().Timer1Timer();  // slot 0 ends before slot 5's turn
  EXPECT_EQ(st().TimeGauge, 0);
  EXPECT_EQ(Progress(5), 0);
  form().Timer1Timer();
  EXPECT_EQ(Progress(5), 0);
  EXPECT_EQ(st().PortTimeout[5], 48);
}

TEST_F(Timer1Test, ExitWaitsForDownloadsOnEveryUnitAndNeverDeletesAnOldResult) {
  std::ofstream(dir.File("ResDW.Txt")) << "left by an earlier run\n";
  struct Case {
    int auto_exit;
    std::vector<uint8_t> downloads;  // by slot
  };
  const Case cases[] = {{1, {}}, {1, {kDownloadSucceeded, kDownloadPending}}, {0, {kDownloadSucceeded}}};
  for (const Case& c : cases) {
    st().AutoExit = static_cast<uint8_t>(c.auto_exit);
    SetDownloads(c.downloads);
    form().Timer1Timer();
    EXPECT_FALSE(form().Closed()) << c.auto_exit << " " << c.downloads.size();
  }
  EXPECT_EQ(ReadLines(dir.File("ResDW.Txt")), std::vector<std::string>{"left by an earlier run"});
  st().AutoExit = 1;
  SetDownloads({kDownloadSucceeded, kDownloadNone, kDownloadSucceeded});
  form().Timer1Timer();
  EXPECT_TRUE(form().Closed());
  EXPECT_FALSE(form().ResultFileFailed());
  EXPECT_EQ(ReadLines(dir.File("ResDW.Txt")), std::vector<std::string>{"Download Success"});
}

TEST_F(Timer1Test, ResultFileFailureIsSaidOnceAndTheWindowClosesWithFailure) {
  std::filesystem::create_directory(dir.File("ResDW.Txt"));
  st().AutoExit = 1;
  st().DownloadsDone = 3;
  st().DevicesFound = 3;
  form().Timer1Timer();
  form().Timer1Timer();
  EXPECT_TRUE(form().Closed());
  EXPECT_TRUE(form().ResultFileFailed());
  int said = 0;
  for (const std::string& line : MemoLines())
    if (line.find("Write ResDW.Txt error!") != std::string::npos) ++said;
  EXPECT_EQ(said, 1);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("ResDW.Txt")));
}

class Timer2Test : public WindowTest {
 protected:
  bool Waiting() { return form().Timer2->isActive(); }
};

// The run waits for a unit behind every listed port that opened; a listed
// port that could not be opened has none to wait for.
TEST_F(Timer2Test, WaitsForAUnitBehindEveryListedPortThatOpened) {
  for (const bool second_opens : {true, false}) {
    Start({dir.File("absent.RQT")});
    ASSERT_TRUE(Waiting());
    PtyPair first, second;
    form().PortList().AddItem("COM1");
    form().PortList().AddItem("COM2");
    form().CommOf(0).SetCommName(first.slave_path());
    form().CommOf(0).OpenPort();
    if (second_opens) {
      form().CommOf(1).SetCommName(second.slave_path());
      form().CommOf(1).OpenPort();
    }
    st().PortConnected[0] = 1;
    for (int i = 0; i < 3; ++i) form().Timer2Timer();
    const std::string text = "File of " + dir.File("absent.RQT") + " is not found!";
    EXPECT_EQ(Waiting(), second_opens);
    EXPECT_EQ(MemoLines().back() == "> 10:15:02 " + text, !second_opens);
    st().PortConnected[1] = 1;
    form().Timer2Timer();
    EXPECT_FALSE(Waiting());
    EXPECT_EQ(MemoLines().back(), "> 10:15:02 " + text);
    for (int slot = 0; slot < 2; ++slot) form().CommOf(slot).ClosePort();
  }
}

TEST_F(Timer2Test, WithoutProjectItStopsAtItsFirstTickAndDoesNothing) {
  Start();
  const std::vector<std::string> before = MemoLines();
  form().Timer2Timer();
  EXPECT_FALSE(Waiting());
  EXPECT_EQ(MemoLines(), before);
  EXPECT_EQ(st().FileLoaded, 0);
}

TEST_F(Timer2Test, WithoutPortsTheProjectIsLoadedAndNothingDownloaded) {
  const std::string path = dir.File("demo.RQT");
  demo::WriteDemoProject(path, 96);
  Start({path, "OFF"});
  form().Timer2Timer();
  EXPECT_FALSE(Waiting());
  EXPECT_EQ(st().FileLoaded, 1);
  EXPECT_EQ(st().FlashSizeKB, 96);
  EXPECT_EQ(st().ChipName, "BF7106AM28-TBBX");
  EXPECT_EQ(st().MainBuffer[5], demo::DemoImage(96)[5]);
  for (const std::string& line : MemoLines()) EXPECT_EQ(line.find("corrupted"), std::string::npos) << line;
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(st().PortBusy[slot], 0);
  EXPECT_EQ(st().DownloadsDone, 0);
}

// The project replaces the image and chip that a working unit or an open
// dialog uses: the load waits for both.
TEST_F(Timer2Test, WaitsForWorkingUnitsAndOpenDialogs) {
  const std::string path = dir.File("demo.RQT");
  demo::WriteDemoProject(path, 96);
  Start({path, "OFF"});
  st().PortBusy[4] = 1;
  form().Timer2Timer();
  EXPECT_TRUE(Waiting());
  EXPECT_EQ(st().FileLoaded, 0);
  st().PortBusy[4] = 0;
  QDialog dialog(&form());
  dialog.setModal(true);
  dialog.show();
  form().Timer2Timer();
  EXPECT_TRUE(Waiting());
  EXPECT_EQ(st().FileLoaded, 0);
  dialog.hide();
  form().Timer2Timer();
  EXPECT_FALSE(Waiting());
  EXPECT_EQ(st().FileLoaded, 1);
  EXPECT_EQ(st().ChipName, "BF7106AM28-TBBX");
}

struct UnloadableProject {
  const char* name;
  void (*make)(const std::string& path);
  const char* line;  // %s: the path
};

class UnloadableProjectTest : public Timer2Test, public ::testing::WithParamInterface<UnloadableProject> {};

// Nothing can follow: an "OFF" run closes and says that no result comes;
// without "OFF" the window stays open.
TEST_P(UnloadableProjectTest, GivesItsLineAndNoBoxAndEndsAnOffRun) {
  const std::string path = dir.File("project.RQT");
  GetParam().make(path);
  for (const bool off : {false, true}) {
    std::vector<std::string> arguments{path};
    if (off) arguments.push_back("OFF");
    Start(arguments);
    form().Timer2Timer();
    form().Memo().Flush();
    const std::vector<std::string> lines = MemoLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "> 10:15:02 " + Format(GetParam().line, {path})), 1) << off;
    EXPECT_TRUE(BoxTexts().empty()) << off;
    EXPECT_FALSE(Waiting());
    EXPECT_EQ(form().Closed(), off);
    EXPECT_EQ(form().ResultFileFailed(), off);
    EXPECT_EQ(st().DownloadsDone, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("ResDW.Txt")));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnloadableProjectTest,
    ::testing::Values(UnloadableProject{"missing", [](const std::string&) {}, "File of %s is not found!"},
                      UnloadableProject{"corrupt",
                                        [](const std::string& p) { std::ofstream(p) << std::string(300, 'x'); },
                                        "Project File of %s is corrupted!"},
                      UnloadableProject{"folder", [](const std::string& p) { std::filesystem::create_directory(p); },
                                        "Invalid file name"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Timer2Test, CorruptProjectGivesItsLineAndStartsNothing) {
  const std::string path = dir.Write("broken.RQT", std::string(300, 'x'));
  Start({path});
  const size_t boxes_before = BoxTexts().size();
  form().Timer2Timer();
  EXPECT_EQ(MemoLines().back(), "> 10:15:02 Project File of " + path + " is corrupted!");
  EXPECT_EQ(BoxTexts().size(), boxes_before);
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(st().PortBusy[slot], 0);
}

// A unit hung up at identity, so its port left the list: the other three
// listed ports match the three units found, but they sit in slots 0, 2
// and 3. The download goes to those, not to slots 0-2.
class CommandLineDownloadTest : public StationUnitsTest {};

TEST_F(CommandLineDownloadTest, GoesToEveryIdentifiedSlot) {
  const std::string path = dir.File("demo.RQT");
  demo::WriteDemoProject(path, 96);
  Start({path, "OFF"});
  BindUnits({0, 2, 3}, 4);
  // The hung-up port is closed, and the search opened no port past the list.
  for (int slot = 0; slot < kPortSlots; ++slot) ports[slot].open = slot == 0 || slot == 2 || slot == 3;
  for (const char* name : {"COM1", "COM3", "COM4"}) form().PortList().AddItem(name);
  st().DevicesFound = 3;
  form().Timer2Timer();
  for (int slot = 0; slot < kPortSlots; ++slot) {
    const bool identified = slot == 0 || slot == 2 || slot == 3;
    EXPECT_EQ(Codes(slot), identified ? std::vector<int>{0x53} : std::vector<int>{}) << slot;
    EXPECT_EQ(st().PortBusy[slot], identified ? 1 : 0) << slot;
  }
}

// What became of the unit behind each of three listed ports, slot by slot:
//   I  identified        -  open, not (yet) answered   X  could not be opened
//   H  hung up before it identified   A  hung up after it identified
struct UnitFates {
  const char* name;
  const char* fates;
  bool waiting;
  std::vector<int> downloaded;  // slots
};
void PrintTo(const UnitFates& f, std::ostream* os) { *os << f.fates; }

class CommandLineWaitTest : public StationUnitsTest, public ::testing::WithParamInterface<UnitFates> {
 protected:
  void Identify(int slot) { ReceiveOn(slot, IdentityReply("DorvikLumqo-ZEK V2.05")); }
  void Apply(int slot, char fate) {
    if (fate == 'X') ports[slot].open = false;
    if (fate == 'I' || fate == 'A') Identify(slot);
    if (fate == 'H' || fate == 'A') form().LineCommRequestHangup(slot);
  }
};

// A hang-up shortens the list, not the slots: the wait is for every open
// port's unit, wherever it sits, and the download goes to exactly those.
TEST_P(CommandLineWaitTest, WaitsForEveryOpenPortAndDownloadsToTheIdentified) {
  const std::string path = dir.File("demo.RQT");
  demo::WriteDemoProject(path, 96);
  Start({path, "OFF"});
  BindUnits({}, 3);
  for (int slot = 0; slot < kPortSlots; ++slot) ports[slot].open = slot < 3;
  for (int slot = 0; slot < 3; ++slot) {
    ports[slot].name = "COM" + std::to_string(slot + 1);
    form().PortList().AddItem(ports[slot].name);
  }
  const std::string fates = GetParam().fates;
  for (int slot = 0; slot < 3; ++slot) Apply(slot, fates[static_cast<size_t>(slot)]);
  form().Timer2Timer();
  EXPECT_EQ(form().Timer2->isActive(), GetParam().waiting);
  for (int slot = 0; slot < kPortSlots; ++slot) {
    const bool sent = std::count(GetParam().downloaded.begin(), GetParam().downloaded.end(), slot) != 0;
    EXPECT_EQ(Codes(slot), sent ? std::vector<int>{0x53} : std::vector<int>{}) << slot;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineWaitTest,
                         ::testing::Values(UnitFates{"AllIdentified", "III", false, {0, 1, 2}},
                                           UnitFates{"SilentUnit", "II-", true, {}},
                                           UnitFates{"LateUnitBehindAHangUp", "IH-", true, {}},
                                           UnitFates{"UnitFoundAfterAHangUp", "IHI", false, {0, 2}},
                                           UnitFates{"HangUpAfterIdentity", "IAI", false, {0, 2}},
                                           UnitFates{"LateUnitBehindAHangUpAfterIdentity", "IA-", true, {}},
                                           UnitFates{"PortThatCannotOpen", "IXI", false, {0, 2}},
                                           UnitFates{"NoUnitLeft", "HXA", false, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
