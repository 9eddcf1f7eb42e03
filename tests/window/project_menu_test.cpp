// Project files from the window: applying a loaded project to the
// chip-setup controls, and the save and load menu commands.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <filesystem>

#include "station/data/byte_sums.h"
#include "station/data/format.h"
#include "station/data/image_sums.h"
#include "station/link/project_file_save.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/radio_group.h"
#include "tests/window/chip_choice.h"
#include "tests/window/station_units_fixture.h"

namespace zek::testing {
namespace {

// What the chip-setup controls show.
struct ControlView {
  std::string chip_name, panel2;
  int speed, volt, mode;
  bool ers_ee, ers_inf, prg_ee, prg_inf, boot;
  friend bool operator==(const ControlView&, const ControlView&) = default;
};

struct ProjectCase {
  const char* name;
  uint8_t class_code;
  uint8_t sclk, f1, f2, f3, f4;
  int speed, volt;
  bool ers_ee, ers_inf, prg_ee, prg_inf, boot;
};

class ProjectTest : public StationUnitsTest {
 protected:
  ControlView View() {
    TProgramZEKFrm& f = form();
    return {f.MCUNameEdit->text().toStdString(), f.Status().PanelText(2), f.ComBoxSpdCLK->currentIndex(),
            f.RadioGpVolt->ItemIndex(),          f.RadioGroupCS->ItemIndex(),  f.ChkBoxErsEE->isChecked(),
            f.ChkBoxErsInf->isChecked(),         f.ChkBoxPrgEE->isChecked(),   f.ChkBoxPrgInf->isChecked(),
            f.ChkBoxBOOT->isChecked()};
  }
  // A project written by another station with these settings.
  std::string WriteProject(const std::string& name, const ProjectCase& c) {
    FakeStation other;
    StationState& s = other.st;
    s.ChipClassCode = c.class_code;
    s.ChipIndex = 3;
    s.ChipFlashSizeKB = 8;
    s.FlashSizeKB = 8;
    s.EepSize = 256;
    s.ChipName = "PROJ-CHIP";
    s.ObjectFileName = "firmware.hex";
    s.ChipStartAddress = 0;
    s.ChipEndAddress = 8 * 1024 - 1;
    s.Settings.SclkSetting = c.sclk;
    s.Settings.CtrlFlags = c.f1;
    s.Settings.CtrlFlags2 = c.f2;
    s.Settings.CtrlFlags3 = c.f3;
    s.Settings.CtrlFlags4 = c.f4;
    const ImageSums main = SumsOfFirst(s.MainBuffer.span(), 8 * 1024);
    s.MainCrc16 = main.Crc16;
    s.MainAcc16 = main.Acc16;
    RefreshEepSums(s);
    const std::string path = dir.File(name);
    WriteProjectFile(s, path, 80);
    return path;
  }
  // A window whose controls all differ from what the projects set.
  void PrepareControls() {
    StartWithUnits({}, 0);
    TakeChip(0x00, 96, 2048, "DLM8F96");
    form().MCUNameEdit->setText("PROJ-CHIP");
    form().ComBoxSpdCLK->setCurrentIndex(4);
    form().RadioGroupCS->SetItemIndex(1);
    form().ChkBoxErsEE->setChecked(true);
    form().ChkBoxErsInf->setChecked(true);
    boxes.shown.clear();
    MarkMemo();
  }
};

const ProjectCase kAnyProject{"", 0x80, 25, 0x04, 0x40, 0x00, 0x20, 0, 1, false, false, true, false, true};

class ProjectLoad : public ProjectTest, public ::testing::WithParamInterface<ProjectCase> {};

TEST_P(ProjectLoad, ShowsTheProjectsChipAndControls) {
  const ProjectCase& c = GetParam();
  PrepareControls();
  const std::string path = WriteProject("p.RQT", c);
  st().ChipSelected = 0;
  ASSERT_TRUE(form().LoadProjectFile(path));
  EXPECT_EQ(st().ChipSelected, 1);
  EXPECT_EQ(st().ChipClassCode, c.class_code);
  const ControlView expected{"PROJ-CHIP", "firmware.hex", c.speed,   c.volt,    0,
                             c.ers_ee,    c.ers_inf,      c.prg_ee,  c.prg_inf, c.boot};
  EXPECT_EQ(View(), expected);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Project File Open Success!"}));
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ProjectLoad,
    ::testing::Values(
        // Stored 20 is not one of the load rule's values below class 0x40.
        ProjectCase{"Class00", 0x00, 20, 0x84, 0x50, 0x00, 0x00, 7, 1, true, false, true, false, true},
        ProjectCase{"Class00Fast", 0x00, 0, 0x80, 0xA0, 0x80, 0x20, 0, 0, false, true, false, true, false},
        // A BS32 project sets only the option-data box; the chip set-up,
        // run for the name shown as for a new one, unticks the erase box,
        // and the EEP view the load refreshes (the grid of the class-0x00
        // window before) unticks the EEP boxes over an erased EEP image.
        ProjectCase{"BS32", 0x10, 30, 0x00, 0xF0, 0x80, 0x20, 7, 0, false, false, false, true, false},
        ProjectCase{"Class80", 0x80, 25, 0x00, 0x40, 0x80, 0x20, 0, 0, false, false, true, false, false},
        ProjectCase{"Class90", 0x90, 40, 0x04, 0x10, 0x00, 0x00, 3, 1, true, false, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

using ProjectMenu = ProjectTest;

TEST_F(ProjectMenu, AFailedReadChangesNothingInTheWindow) {
  PrepareControls();
  const ControlView before = View();
  const std::string good = WriteProject("good.RQT", kAnyProject);
  std::vector<uint8_t> bytes = TempDir::Read(good);
  bytes[3000] ^= 0x01;  // in the configuration area: the sum no longer matches
  const std::string damaged = dir.Write("damaged.RQT", bytes);
  const std::string foreign = dir.Write("foreign.RQT", std::string(8000, 'x'));

  EXPECT_FALSE(form().LoadProjectFile(foreign));
  EXPECT_FALSE(form().LoadProjectFile(damaged));
  EXPECT_EQ(View(), before);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Not Valid Kelpra Project File!",
                                                  "Project File Data Has Been Corrupted!"}));
}

TEST_F(ProjectMenu, TheCommandLineLoadsSilently) {
  PrepareControls();
  st().CmdLineProject = 1;
  const std::string path = WriteProject("p.RQT", kAnyProject);
  ASSERT_TRUE(form().LoadProjectFile(path));
  EXPECT_FALSE(form().LoadProjectFile(dir.Write("foreign.RQT", std::string(8000, 'x'))));
  EXPECT_TRUE(boxes.shown.empty());
  const std::vector<std::string> lines = NewLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "> 10:15:02 Project File Open Success!");
  EXPECT_EQ(lines.back(), "> 10:15:02 Not Valid Kelpra Project File!");
}

TEST_F(ProjectMenu, SaveNeedsAChipFirstThenObjectData) {
  StartWithUnits({}, 0);
  boxes.shown.clear();
  form().SaveasProjectFile1->trigger();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please select the chip type!"}));
  TakeChip(0x00, 96, 2048, "DLM8F96");
  boxes.shown.clear();
  form().SaveasProjectFile1->trigger();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please load object file!"}));
  EXPECT_EQ(boxes.shown[0].kind, "information");
  EXPECT_TRUE(files.asked.empty());
  EXPECT_TRUE(NewLines().empty());
}

TEST_F(ProjectMenu, SaveAndLoadThroughTheirDialogsKeepTheWindowsControls) {
  StartWithUnits({}, 0);
  TakeChipAndFile();
  // The images' sums, as a loaded file leaves them.
  form().ShowMainBuffer();
  RefreshEepSums(st());
  MarkMemo();
  st().ObjectFileName = "app.s19";
  form().RadioGpVolt->SetItemIndex(1);
  form().ChkBoxPrgEE->setChecked(true);
  form().ChkBoxBOOT->setChecked(true);
  const std::string path = dir.File("line7.RQT");

  files.answers.push_back(std::nullopt);  // cancelled: nothing written, nothing collected
  form().SaveasProjectFile1->trigger();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(NewLines().empty());

  files.Answer(path);
  form().SaveasProjectFile1->trigger();
  ASSERT_TRUE(std::filesystem::exists(path));
  ASSERT_EQ(files.asked.size(), 2u);
  EXPECT_EQ(files.asked[1].Title, "Save to Dorvik410xx Project File");
  EXPECT_EQ(files.asked[1].Filter, "Dorvikxx Project File(*.RQT)|*.RQT");
  EXPECT_EQ(files.asked[1].DefaultExt, "RQT");
  const std::vector<std::string> saved = NewLines();
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].rfind("> Control Setting(Hex): 00,", 0), 0u);
  EXPECT_EQ(saved[1], "> 10:15:02 Created Project File : " + path);

  form().RadioGpVolt->SetItemIndex(0);
  form().ChkBoxPrgEE->setChecked(false);
  form().ChkBoxBOOT->setChecked(false);
  form().Status().SetPanelText(2, "");
  files.Answer(path);
  form().LoadformProjectFile1->trigger();
  ASSERT_EQ(files.asked.size(), 3u);
  EXPECT_EQ(files.asked[2].Title, "Open Dorvik410xx Project File");
  EXPECT_EQ(files.asked[2].Filter, "Dorvikxx Project Files(*.RQT)|*.RQT");
  EXPECT_EQ(files.asked[2].DefaultExt, "*.RQT");
  EXPECT_EQ(form().RadioGpVolt->ItemIndex(), 1);
  EXPECT_TRUE(form().ChkBoxPrgEE->isChecked());
  EXPECT_TRUE(form().ChkBoxBOOT->isChecked());
  EXPECT_EQ(form().Status().PanelText(2), "app.s19");
}

// A project as a station writes it after the chip dialog chose its part:
// the map derived, the image filled with a pattern, its sums taken.
std::string WriteChosenChipProject(const std::string& path, uint8_t class_code, uint16_t flash_kb,
                                   const std::string& name, const ProgrammerSettings& settings = {}) {
  FakeStation other;
  StationState& s = other.st;
  s.Settings = settings;
  s.ChipClassCode = class_code;
  s.ChipFlashSizeKB = flash_kb;
  s.InfoSize = 512;
  s.PageSize = 512;
  s.ChipName = name;
  SetMemoryMap(s);
  const uint32_t bytes = uint32_t{flash_kb} * 1024;
  for (uint32_t i = 0; i < bytes; ++i) s.MainBuffer[i] = static_cast<uint8_t>(i * 13 + (i >> 11));
  const ImageSums main = SumsOfFirst(s.MainBuffer.span(), bytes);
  s.MainCrc16 = main.Crc16;
  s.MainAcc16 = main.Acc16;
  RefreshEepSums(s);
  WriteProjectFile(s, path, 80);
  return path;
}

// The views, the sums and the summary follow a loaded project as they
// follow a loaded file and the settings dialog's OK.
TEST_F(ProjectMenu, ALoadShowsTheProjectsImageSumsAndSettings) {
  StartWithUnits({}, 0);
  ScriptChipDialog(dialogs, {"BS32G030CBT6"}, Close::Ok);
  form().DevButton->click();
  files.Answer(dir.Write("a.bin", std::vector<uint8_t>(1000, 0x11)));
  form().SpdBtnOpen->click();
  ASSERT_EQ(form().HexViewer->model()->rowCount(), 8192);
  const std::vector<std::string> summary_before = form().CfgInfoLines();

  ProgrammerSettings settings;
  settings.CtrlFlags = 0x80;  // beeper off
  settings.PowerOnTime = 25;
  settings.AutoDetectFlags = 0;
  const std::string path = WriteChosenChipProject(dir.File("big.RQT"), 0x80, 2048, "BIG-CHIP", settings);
  files.Answer(path);
  form().LoadformProjectFile1->trigger();

  EXPECT_EQ(form().HexViewer->model()->rowCount(), 131072);
  const uint32_t sum = SumBytes(st().MainBuffer.span(), 0, 0x1FFFFF);
  EXPECT_EQ(form().Status().PanelText(0), Format("Acc Sum:0x%0.8x", {sum & 0xFFFF}));
  EXPECT_EQ(form().Status().PanelText(1),
            Format("CRC Sum:0x%0.4x", {Check16(st().MainBuffer.span(), 0, 0x1FFFFF)}));
  const std::vector<std::string> summary = form().CfgInfoLines();
  EXPECT_NE(summary, summary_before);
  // The settings dialog opened on the project's settings and confirmed
  // writes the same summary.
  dialogs.script = [this](QDialog&) { program->Dialogs().KelpraCfgForm->BitBtn2->click(); };
  form().BitBtn1X->click();
  EXPECT_EQ(form().CfgInfoLines(), summary);

  form().FormClose();
  const std::vector<std::string> lines = MemoLines();
  ASSERT_GE(lines.size(), summary.size());
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(summary.size()), lines.end()), summary);
}

// Before the load: a fresh station, or another chip chosen in the dialog.
struct BeforeLoadCase {
  const char* name;
  const char* chosen;  // part chosen in the dialog first, or null
};

class ProjectMap : public ProjectTest, public ::testing::WithParamInterface<BeforeLoadCase> {};

// The map follows the project's chip as the chip dialog derives it, so the
// units get the same ranges whatever the station held before.
TEST_P(ProjectMap, IsTheChipDialogsWhateverCameBefore) {
  StartWithUnits({0}, 1);
  if (GetParam().chosen != nullptr) {
    ScriptChipDialog(dialogs, {GetParam().chosen}, Close::Ok);
    form().DevButton->click();
  }
  const std::string path = WriteChosenChipProject(dir.File("bs32.RQT"), 0x10, 128, "BS32G030CBT6");
  ASSERT_TRUE(form().LoadProjectFile(path));
  EXPECT_EQ(st().OptionStartAddress, 0x201E0u);
  EXPECT_EQ(st().OptionEndAddress, 0x201FFu);
  form().SpdBtnProg->click();
  const std::vector<Bytes> packets = SentPackets(ports[0].sent);
  ASSERT_FALSE(packets.empty());
  const Bytes& p = packets.front();
  ASSERT_GE(p.size(), 8u + 64u);
  // A little-endian word of the settings block, which follows the header.
  auto u32 = [&p](size_t at) {
    return uint32_t{p[8 + at]} | p[9 + at] << 8 | p[10 + at] << 16 | uint32_t{p[11 + at]} << 24;
  };
  EXPECT_EQ(p[0], 0x95);
  EXPECT_EQ(p[8 + 2], 0x10);
  EXPECT_EQ(u32(24), 0u) << "ChipStartAddress";
  EXPECT_EQ(u32(28), 0x000201E0u) << "OptionStartAddress";
  EXPECT_EQ(u32(56), 0xFFFFFFFFu) << "EepStartAddress";
  EXPECT_EQ(u32(60), 0x00020200u) << "InfoStartAddress";
  EXPECT_EQ(p[8 + 8] | p[8 + 9] << 8, 128) << "FlashSizeKB";
}

INSTANTIATE_TEST_SUITE_P(Stations, ProjectMap,
                         ::testing::Values(BeforeLoadCase{"Fresh", nullptr},
                                           BeforeLoadCase{"AfterClass00", "BF7106AM28-TBBX"},
                                           BeforeLoadCase{"AfterClass90", "BS9000AM20"},
                                           BeforeLoadCase{"AfterTheSameChip", "BS32G030CBT6"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
