// Start-up: defaults, window texts, the settings summary and the gauges.

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include "station/window/radio_group.h"
#include <QTabWidget>
#include <algorithm>

#include "serial/comm_component.h"
#include "station/data/chip_memory_map.h"
#include "tests/serial/pty_support.h"
#include "tests/support/firmware_fixture.h"
#include "tests/support/reply_builder.h"
#include "tests/window/window_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

using StartupTest = WindowTest;

TEST_F(StartupTest, FirstShowSetsDefaultsTextsAndSummary) {
  Start();
  EXPECT_EQ(st().AppDir, dir.File("") );
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Log")));
  EXPECT_EQ(st().Settings.ChipInTime, 17);
  EXPECT_EQ(st().Settings.OkNgDelay, 70);
  EXPECT_EQ(st().Settings.AutoDetectFlags, 7);
  EXPECT_EQ(form().SpdBtnExit->text().toStdString(), "&Eixt");
  EXPECT_EQ(form().Download1->text().toStdString(), "&Download");
  EXPECT_EQ(form().File1->title().toStdString(), "&File");
  EXPECT_EQ(form().CfgInfoLines(),
            (std::vector<std::string>{"Programmer Setup:", "  > No Number Control Enabled",
                                      "  > S/N Function Disabled", "  > Enable Auto-Chip Detect",
                                      "  > Enable Beeper", "  > Power On Time 100ms"}));
  const std::vector<std::string> lines = MemoLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "> 10:15:02 2026-12-08  Hello DorvikLumo-ZEK User! ");
  EXPECT_EQ(lines[1], "> 10:15:02 File of \"" + dir.File("DKxLumZEK.FWR") + "\" not Found!");
  EXPECT_EQ(BoxTexts().front(), "File \"" + dir.File("DKxLumZEK.FWR") + "\"Not Found, Please Confirm!");
  EXPECT_TRUE(form().Timer2->isActive());
}

struct GaugeCase {
  int slot_count;
  int shown;
  int memo_height;
};

class ArrangeGaugesTest : public WindowTest, public ::testing::WithParamInterface<GaugeCase> {};

TEST_P(ArrangeGaugesTest, ShowsPairsBottomAligned) {
  Create();
  const GaugeCase c = GetParam();
  st().PortSlotCount = static_cast<uint8_t>(c.slot_count);
  form().ArrangeGauges();
  for (int i = 0; i < kPortSlots; ++i) {
    EXPECT_EQ(!form().Gauges[i]->isHidden(), i < c.shown) << "gauge " << i;
    if (i < c.shown) {
      EXPECT_EQ(form().Gauges[i]->y(), 480 - 20 * (c.shown - 1 - i));
    }
  }
  EXPECT_EQ(form().InfoMemo->height(), c.memo_height);
}

INSTANTIATE_TEST_SUITE_P(Table, ArrangeGaugesTest,
                         ::testing::Values(GaugeCase{0, 1, 437}, GaugeCase{1, 1, 437}, GaugeCase{2, 2, 417},
                                           GaugeCase{3, 4, 377}, GaugeCase{4, 4, 377}, GaugeCase{5, 6, 337},
                                           GaugeCase{6, 6, 337}, GaugeCase{7, 8, 297}, GaugeCase{8, 8, 297},
                                           GaugeCase{9, 10, 257}, GaugeCase{10, 10, 257}),
                         [](const auto& info) { return "Slots" + std::to_string(info.param.slot_count); });


// Every caption of the texts table, in both editions, on the control of
// that name: a control the table names but the window lacks, or a wrong
// widget kind, shows up here.
class WindowTextsTest : public WindowTest, public ::testing::WithParamInterface<const char*> {
 protected:
  const EditionTexts& Edition() const {
    return std::string(GetParam()) == "zh" ? ChineseEdition() : EnglishEdition();
  }
  QString TextOf(const QString& name) {
    if (auto* menu = form().findChild<QMenu*>(name)) return menu->title();
    if (auto* action = form().findChild<QAction*>(name)) return action->text();
    if (auto* button = form().findChild<QAbstractButton*>(name)) return button->text();
    if (auto* label = form().findChild<QLabel*>(name)) return label->text();
    if (auto* group = form().findChild<QGroupBox*>(name)) return group->title();
    return "<no control " + name + ">";
  }
};

TEST_P(WindowTextsTest, EveryCaptionOfTheTableIsSet) {
  Start({}, &Edition());
  int captions = 0;
  for (int i = 0; i < static_cast<int>(Tx::Count); ++i) {
    const Tx id = static_cast<Tx>(i);
    if (KindOf(id) != TxKind::Main) continue;
    const QString name = QString::fromUtf8(NameOf(id).data(), static_cast<int>(NameOf(id).size()));
    EXPECT_EQ(TextOf(name).toStdString(), Edition()[id]) << name.toStdString();
    ++captions;
  }
  EXPECT_EQ(captions, 23 + 30);
  const std::vector<std::string> summary = form().CfgInfoLines();
  ASSERT_EQ(summary.size(), 6u);
  EXPECT_EQ(summary[0], Edition()[Tx::SetupTitle]);
  EXPECT_EQ(summary[5], Edition()[Tx::SetupPowerOnTime100ms]);
  EXPECT_EQ(BoxTexts().front(), Edition().S(Tx::FileMissingPrefix) + dir.File("DKxLumZEK.FWR") +
                                    Edition().S(Tx::FileMissingSuffix));
}

INSTANTIATE_TEST_SUITE_P(Editions, WindowTextsTest, ::testing::Values("en", "zh"),
                         ::zek::testing::PrintedName());

TEST_F(StartupTest, DefaultsHiddenControlsAndPages) {
  Create();
  st().FamilyCode = 1;
  st().OnLineCounter = 9;
  st().DevicesFound = 3;
  st().Settings.CtrlFlags4 = 0x55;
  st().Settings.SNFlags = 3;
  st().MainBuffer[0] = 0x12;
  form().FormShow();
  EXPECT_EQ(st().FamilyCode, 0x45);
  EXPECT_EQ(st().OnLineCounter, 0);
  EXPECT_EQ(st().DevicesFound, 0);
  const ProgrammerSettings& s = st().Settings;
  EXPECT_EQ((std::vector<int>{s.CtrlFlags, s.CtrlFlags2, s.CtrlFlags3, s.CtrlFlags4, s.CtrlFlags5, s.CtrlFlags6,
                              s.ChipInTime, s.ChipOutTime, s.PowerOnTime, s.SettingByte51, s.OkNgDelay, s.SNFlags,
                              s.AutoDetectFlags, s.SclkSetting}),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 17, 17, 10, 10, 70, 0, 7, 0}));
  EXPECT_EQ(st().MainBuffer[0], 0xFF);
  for (QWidget* w : {static_cast<QWidget*>(form().LabelBS), static_cast<QWidget*>(form().LabelBE),
                     static_cast<QWidget*>(form().EditAdrBS), static_cast<QWidget*>(form().EditAdrBE),
                     static_cast<QWidget*>(form().RadioGroupCS)})
    EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
  QTabWidget* tabs = form().ViewPageCtrl;
  EXPECT_FALSE(tabs->isTabVisible(tabs->indexOf(form().TabSheetEep)));
  EXPECT_FALSE(tabs->isTabVisible(tabs->indexOf(form().TabSheetRdMF)));
  EXPECT_FALSE(tabs->isTabVisible(tabs->indexOf(form().TabSheetRdEEP)));
  EXPECT_EQ(tabs->currentWidget(), form().TabSheetChip);
  EXPECT_TRUE(form().FirmWareGradeX->isVisible());
  EXPECT_EQ(st().SharedInfoMemo, &form().Memo());
}

TEST_F(StartupTest, FirmwareFileBesideTheProgramIsLoadedWithoutABox) {
  testing::FirmwareRecipe recipe;
  recipe.image.assign(4096, 0x3C);
  testing::WriteBytes(dir.File("DKxLumZEK.FWR"), testing::BuildFirmwareFile(recipe));
  Start();
  EXPECT_EQ(st().FirmwareOK, 1);
  EXPECT_TRUE(BoxTexts().empty());
}

struct DeadPortCase {
  const char* name;
  bool command_line;
  bool by_button;  // "Find Device" pressed after start-up, else start-up's search
};

class DeadPortTest : public WindowTest, public ::testing::WithParamInterface<DeadPortCase> {};

// The connection file names an adapter that is not plugged in (its link
// leads nowhere) between two that are: the window shows the serial
// component's error in a box, a run the command line drives logs it, and
// either way the search goes on to the unit listed after it.
TEST_P(DeadPortTest, IsReportedAndTheUnitAfterItIsFound) {
  const DeadPortCase& c = GetParam();
  ComLinkFolder links;
  PtyPair first, third;
  links.Link("COM1", first.slave_path());
  links.Link("COM2", "/nonexistent/ttyUSB1");
  links.Link("COM3", third.slave_path());
  dir.Write("ConfigZEK.ini", "[Connection]\nTotDev=3\nDev1=COM1\nDev2=COM2\nDev3=COM3\n");
  Start(c.command_line ? std::vector<std::string>{dir.File("demo.RQT")} : std::vector<std::string>{});
  const std::vector<uint8_t> query{0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(first.Read(query.size()), query);
  EXPECT_EQ(third.Read(query.size()), query);
  if (c.by_button) {
    boxes.shown.clear();
    form().Memo().Clear();
    form().BitBtnFindCOM->click();
    form().Memo().Flush();
    EXPECT_EQ(first.Read(query.size()), query);
    EXPECT_EQ(third.Read(query.size()), query);
  }
  const std::string error = "Error opening serial port:COM2";
  const std::vector<std::string> lines = MemoLines();
  const std::vector<std::string> box_texts = BoxTexts();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "> 10:15:02 " + error), c.command_line ? 1 : 0);
  EXPECT_EQ(std::count(box_texts.begin(), box_texts.end(), error), c.command_line ? 0 : 1);
  third.Write(Frame(IdentityReply("DorvikLumqo-ZEK V2.05")));
  EXPECT_TRUE(PumpUntil([&] { return st().PortConnected[2] == 1; }));
  EXPECT_EQ(st().DevicesFound, 1);
  EXPECT_TRUE(form().CommOf(2).IsOpen());
  for (int slot = 0; slot < 3; ++slot) form().CommOf(slot).ClosePort();
}

INSTANTIATE_TEST_SUITE_P(Table, DeadPortTest,
                         ::testing::Values(DeadPortCase{"WindowStartUp", false, false},
                                           DeadPortCase{"WindowFindDevice", false, true},
                                           DeadPortCase{"CommandLineStartUp", true, false},
                                           DeadPortCase{"CommandLineFindDevice", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CommandLineCase {
  std::vector<std::string> arguments;
  int project;
  int auto_exit;
};

class CommandLineTest : public WindowTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, ReadsProjectAndExitChoice) {
  const CommandLineCase& c = GetParam();
  Create(c.arguments);
  st().DownloadsDone = 4;
  st().AutoExit = 1;
  form().FormShow();
  EXPECT_EQ(st().CmdLineProject, c.project);
  if (c.project == 0) return;
  EXPECT_EQ(st().AutoExit, c.auto_exit);
  EXPECT_EQ(st().DownloadsDone, 0);
  EXPECT_EQ(st().CmdLineProjectPath, c.arguments[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineTest,
    ::testing::Values(CommandLineCase{{}, 0, 0}, CommandLineCase{{"demo.RQT"}, 1, 0},
                      CommandLineCase{{"demo.RQT", "OFF"}, 1, 1}, CommandLineCase{{"demo.RQT", "off"}, 1, 1},
                      CommandLineCase{{"demo.RQT", "Off"}, 1, 1}, CommandLineCase{{"demo.RQT", "OFFX"}, 1, 0},
                      CommandLineCase{{"demo.RQT", "ON"}, 1, 0}, CommandLineCase{{"/a b/p.RQT", "oFF", "x"}, 1, 1}),
                         [](const auto& info) {
                           std::string words;
                           for (const std::string& a : info.param.arguments) words += a + " ";
                           return ::zek::testing::CaseName(words);
                         });

}  // namespace
}  // namespace zek::testing
