// Operation commands through the window's handlers, menu items and keys.

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QToolButton>

#include "station/data/format.h"
#include "station/link/control_settings.h"
#include "station/link/operation_states.h"
#include "tests/window/station_units_fixture.h"

namespace zek::testing {
namespace {

using Handler = void (TProgramZEKFrm::*)();

struct GuardCase {
  const char* name;
  Handler handler;
  bool needs_file;
};

class CommandGuards : public StationUnitsTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(CommandGuards, FileFirstThenChipAndNothingStarts) {
  const GuardCase& c = GetParam();
  StartWithUnits({0, 1}, 2);
  boxes.shown.clear();
  (form().*c.handler)();
  const char* first = c.needs_file ? "Please load object file!" : "Please select the chip type!";
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, "information");
  EXPECT_EQ(boxes.shown[0].text, first);

  st().FileLoaded = 1;
  boxes.shown.clear();
  (form().*c.handler)();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please select the chip type!"}));
  EXPECT_TRUE(NewLines().empty());
  EXPECT_TRUE(NothingSent());
  EXPECT_EQ(st().PortState[0], kStateIdle);
  EXPECT_EQ(st().PortBusy[0], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, CommandGuards,
    ::testing::Values(GuardCase{"Download", &TProgramZEKFrm::SpdBtnDownLoadClick, true},
                      GuardCase{"AutoProgram", &TProgramZEKFrm::AutoSpdBtnClick, true},
                      GuardCase{"Blank", &TProgramZEKFrm::SpdBtnBlankClick, false},
                      GuardCase{"Erase", &TProgramZEKFrm::SpdBtnEraseClick, false},
                      GuardCase{"Program", &TProgramZEKFrm::SpdBtnProgClick, true},
                      GuardCase{"Verify", &TProgramZEKFrm::SpdBtnVerifyClick, true},
                      GuardCase{"VerifyEep", &TProgramZEKFrm::VerifyChipEEPData1Click, true},
                      GuardCase{"WriteEep", &TProgramZEKFrm::WriteChipEepData1Click, true},
                      GuardCase{"Protect", &TProgramZEKFrm::ProtectChip1Click, false},
                      GuardCase{"WriteOption", &TProgramZEKFrm::WriteChipOption1Click, false},
                      GuardCase{"ReadChipID", &TProgramZEKFrm::ReadChipIDInfo1Click, false},
                      GuardCase{"ReadChipInfo", &TProgramZEKFrm::ReadChipInfoMemory1Click, false},
                      GuardCase{"ReadChipOption", &TProgramZEKFrm::ReadChipOption1Click, false},
                      GuardCase{"ReadMemory", &TProgramZEKFrm::SpeedButtonRDClick, false},
                      GuardCase{"ReadEep", &TProgramZEKFrm::ReadChipEepData1Click, false}),
    [](const auto& info) { return std::string(info.param.name); });

// One row of the command table, run from its menu item on units 1 and 2.
struct TableCase {
  const char* name;
  QAction* TProgramZEKFrm::*item;
  const char* shortcut;
  bool empty_line;
  bool separator;
  const char* slot_line;     // "%d" is the unit number; may be null
  const char* starter_line;  // port-tagged; may be null
  int code;
  uint8_t state;
  uint8_t time_gauge;
};

class CommandTable : public StationUnitsTest, public ::testing::WithParamInterface<TableCase> {};

TEST_P(CommandTable, LogsAndSendsPerEligibleUnit) {
  const TableCase& c = GetParam();
  StartWithUnits({0, 1}, 2);
  TakeChipAndFile();
  QAction* item = form().*c.item;
  EXPECT_EQ(item->shortcut().toString().toStdString(), c.shortcut);
  st().TimeGauge = 1 - c.time_gauge;
  item->trigger();
  EXPECT_EQ(st().TimeGauge, c.time_gauge);

  std::vector<std::string> expected;
  if (c.empty_line) expected.push_back("");
  expected.push_back(ControlSettingLine(st()));
  if (c.separator) expected.push_back(">--------------------------------------------");
  for (int unit = 1; unit <= 2; ++unit) {
    if (c.slot_line) expected.push_back("> 10:15:02 " + Format(c.slot_line, {unit}));
    if (c.starter_line) expected.push_back(Format("> 10:15:02 C%d: ", {unit}) + c.starter_line);
  }
  EXPECT_EQ(NewLines(), expected);
  for (int slot : {0, 1}) {
    EXPECT_EQ(Codes(slot), (std::vector<int>{c.code})) << "slot " << slot;
    EXPECT_EQ(st().PortState[slot], c.state);
    EXPECT_EQ(st().PortBusy[slot], 1);
  }
  EXPECT_TRUE(boxes.shown.size() <= 1u);  // only start-up's firmware note
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandTable,
    ::testing::Values(
        TableCase{"Download", &TProgramZEKFrm::Download1, "F4", false, false,
                  "Programmer %d : Start to download data......", nullptr, 0x53, kStateDownloadStart, 0},
        TableCase{"AutoProgram", &TProgramZEKFrm::AutoProgram1, "F5", false, true,
                  "Chip %d : Start Auto-Programming, do chip blank checking......", "Do Chip blank checking......",
                  0x9305, kStateBlankCheck, 1},
        TableCase{"Blank", &TProgramZEKFrm::ChipBlankCheck1, "F6", true, false, nullptr,
                  "Do Chip blank checking......", 0x9305, kStateBlankCheck, 1},
        TableCase{"Erase", &TProgramZEKFrm::EraseChip1, "F7", true, false, nullptr, "Do Chip Erasing......", 0x9303,
                  kStateErase, 1},
        TableCase{"Program", &TProgramZEKFrm::Programming1, "F8", true, false, nullptr,
                  "Starting Data programming......", 0x95, kStateProgram, 0},
        TableCase{"Verify", &TProgramZEKFrm::VeriufyDownload1, "F9", true, false, nullptr,
                  "Do Chip data verification......", 0x9355, kStateVerifyMain, 1},
        TableCase{"VerifyEep", &TProgramZEKFrm::VerifyChipEEPData1, "", true, false, nullptr,
                  "Do Chip EEP Data verification......", 0x9356, kStateVerifyEEP, 1},
        TableCase{"WriteEep", &TProgramZEKFrm::WriteChipEepData1, "", true, false,
                  "Chip %d : Do Chip EEP Data Programming......", "Write chip OTP Data ......", 0x96, kStateWriteOTP, 0},
        TableCase{"Protect", &TProgramZEKFrm::ProtectChip1, "", true, false, nullptr,
                  "Write chip protected data......", 0x9353, kStateProtect, 1},
        TableCase{"WriteOption", &TProgramZEKFrm::WriteChipOption1, "", true, false, nullptr,
                  "Write Chip Option Data......", 0x9353, kStateProtect, 1},
        TableCase{"ReadChipID", &TProgramZEKFrm::ReadChipIDInfo1, "Ctrl+I", true, false,
                  "Chip %d : Read Chip ID data......", nullptr, 0x9336, kStateReadChipID, 1},
        TableCase{"ReadChipInfo", &TProgramZEKFrm::ReadChipInfoMemory1, "", true, false,
                  "Chip %d : Read Chip Info Memory......", nullptr, 0x9333, kStateReadChipInfo, 1},
        TableCase{"ReadChipOption", &TProgramZEKFrm::ReadChipOption1, "", true, false,
                  "Chip %d : Read Chip Option Data......", nullptr, 0x9335, kStateReadChipOption, 1}),
    [](const auto& info) { return std::string(info.param.name); });

using Commands = StationUnitsTest;

TEST_F(Commands, BlankCheckSkipsTheBusyUnitBetweenTwoIdleOnes) {
  StartWithUnits({0, 1, 2}, 3);
  TakeChip(0x00, 96, 2048, "DLM8F96");
  form().CollectControlSettings();  // as unit 2's own command took them
  MarkMemo();
  st().PortBusy[1] = 1;
  st().PortState[1] = kStateProgram;
  st().PortRxLen[1] = 9;
  form().SpdBtnBlank->click();
  EXPECT_EQ(Codes(0), (std::vector<int>{0x9305}));
  EXPECT_TRUE(Codes(1).empty());
  EXPECT_EQ(Codes(2), (std::vector<int>{0x9305}));
  EXPECT_EQ(st().PortState[1], kStateProgram);
  EXPECT_EQ(st().PortRxLen[1], 9);
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"", ControlSettingLine(st()),
                                                  "> 10:15:02 C1: Do Chip blank checking......",
                                                  "> 10:15:02 C3: Do Chip blank checking......"}));
}

TEST_F(Commands, WithoutUnitsOnlyTheDownloadStaysSilent) {
  StartWithUnits({}, 0);
  TakeChipAndFile();
  form().SpdBtnDownLoadClick();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{ControlSettingLine(st())}));
  MarkMemo();
  form().SpdBtnEraseClick();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"", ControlSettingLine(st()),
                                                  "> 10:15:02 Please connect the device first!"}));
  EXPECT_TRUE(NothingSent());
}

TEST_F(Commands, ResetReachesEveryConnectedUnitAndSaysNothing) {
  StartWithUnits({}, 0);
  form().ResetProg1->trigger();
  EXPECT_TRUE(NewLines().empty());
  EXPECT_TRUE(NothingSent());

  st().PortSlotCount = 3;
  st().PortConnected[0] = st().PortConnected[2] = 1;
  st().PortBusy[2] = 1;
  st().PortState[2] = kStateErase;
  form().ResetProg1->trigger();
  EXPECT_EQ(Codes(0), (std::vector<int>{0x8A}));
  EXPECT_TRUE(Codes(1).empty());
  EXPECT_EQ(Codes(2), (std::vector<int>{0x8A}));
  EXPECT_EQ(st().PortState[2], kStateErase);
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(Commands, ReadingMemoryBackUsesUnitOneOnly) {
  StartWithUnits({0, 1, 2}, 3);
  TakeChip(0x00, 96, 2048, "DLM8F96");
  st().TimeGauge = 1;
  form().SpeedButtonRD->click();
  EXPECT_EQ(st().TimeGauge, 0);
  EXPECT_EQ(Codes(0), (std::vector<int>{0x9B}));
  EXPECT_TRUE(Codes(1).empty() && Codes(2).empty());
  EXPECT_EQ(st().PortState[0], kStateReadOut);
  EXPECT_EQ(form().GaugeOf(0).Max(), 96);
  EXPECT_EQ(NewLines(), (std::vector<std::string>{ControlSettingLine(st()), "",
                                                  "> 10:15:02 Chip 1 : Read chip all memory......"}));

  MarkMemo();
  st().PortBusy[0] = 0;
  st().TimeGauge = 1;
  form().ReadChipEepData1->trigger();
  EXPECT_EQ(st().TimeGauge, 0);
  EXPECT_EQ(Codes(0), (std::vector<int>{0x9B, 0x9C}));
  EXPECT_EQ(st().PortState[0], kStateReadEEP);
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"", "> 10:15:02 Chip 1 : Read Chip EEP Data......",
                                                  ControlSettingLine(st())}));
}

// A read-back started over a running operation would take over its
// replies, so unit 1 must be idle as well as connected.
TEST_F(Commands, ReadBackRefusedWhileUnitOneIsAbsentOrBusy) {
  StartWithUnits({1}, 2);
  TakeChip(0x00, 96, 2048, "DLM8F96");
  form().SpeedButtonRDClick();
  form().ReadChipEepData1Click();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"> 10:15:02 Please connect the device first!",
                                                  "> 10:15:02 Please connect the device first!"}));
  MarkMemo();
  st().PortConnected[0] = 1;
  st().PortBusy[0] = 1;
  st().PortState[0] = kStateVerifyMain;
  st().PortTimeout[0] = 123;
  form().SpeedButtonRDClick();
  form().ReadChipEepData1Click();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"> 10:15:02 Programmer 1 is busy, please wait!",
                                                  "> 10:15:02 Programmer 1 is busy, please wait!"}));
  EXPECT_EQ(st().PortState[0], kStateVerifyMain);
  EXPECT_EQ(st().PortTimeout[0], 123);
  EXPECT_TRUE(NothingSent());
}

TEST_F(Commands, SpaceAndEnterStartTheAutoSequenceOnlyWhileItsButtonIsEnabled) {
  StartWithUnits({0}, 1);
  TakeChipAndFile();
  form().InfoMemo->setFocus();
  form().FormKeyPress('a');
  EXPECT_TRUE(NothingSent());

  form().AutoSpdBtn->setEnabled(false);
  form().FormKeyPress(' ');
  form().FormKeyPress('\r');
  EXPECT_TRUE(NothingSent());
  EXPECT_NE(form().focusWidget(), form().Panel1);

  form().AutoSpdBtn->setEnabled(true);
  form().FormKeyPress(' ');
  EXPECT_EQ(form().focusWidget(), form().Panel1);
  EXPECT_EQ(Codes(0), (std::vector<int>{0x9305}));
  EXPECT_EQ(st().PortAutoSeq[0], 1);

  st().PortBusy[0] = 0;
  form().InfoMemo->setFocus();
  form().FormKeyPress('\r');
  EXPECT_EQ(form().focusWidget(), form().Panel1);
  EXPECT_EQ(Codes(0), (std::vector<int>{0x9305, 0x9305}));
}

TEST_F(Commands, AutoProgramMovesTheFocusBeforeItsGuards) {
  StartWithUnits({0}, 1);
  form().InfoMemo->setFocus();
  form().AutoSpdBtnClick();
  EXPECT_EQ(form().focusWidget(), form().Panel1);
  EXPECT_EQ(BoxTexts().back(), "Please load object file!");
  EXPECT_TRUE(NothingSent());
}

// The key reaches the focused control too; a focused tool button must not
// run its own command beside the automatic sequence.
TEST_F(Commands, SpaceOrEnterOnAFocusedControlRunsOnlyTheAutoSequence) {
  Create();
  form().show();  // start-up runs from the show event
  form().activateWindow();
  BindUnits({0}, 1);
  TakeChipAndFile();
  const std::pair<QWidget*, Qt::Key> presses[] = {{form().SpdBtnErase, Qt::Key_Space},
                                                  {form().SpdBtnProg, Qt::Key_Return}};
  for (const auto& [control, key] : presses) {
    st().PortBusy[0] = 0;
    control->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), control);
    const QString text = key == Qt::Key_Space ? " " : "\r";
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(control, &press);
    EXPECT_EQ(QApplication::focusWidget(), form().Panel1);
    QApplication::sendEvent(QApplication::focusWidget(), &release);
    QApplication::processEvents();
  }
  EXPECT_EQ(Codes(0), (std::vector<int>{0x9305, 0x9305}));
}

}  // namespace
}  // namespace zek::testing
