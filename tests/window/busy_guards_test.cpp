// Changes while units work: every command that would change what running
// chains read for each packet (the images, the chip, the settings and
// control bytes) is refused with the busy line and changes nothing, and
// the running chain goes on with the image and chip it started with.

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <functional>

#include "station/data/byte_sums.h"
#include "station/link/control_settings.h"
#include "station/link/operation_states.h"
#include "station/link/project_file_save.h"
#include "station/window/config_sn_form.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/option_bytes_form.h"
#include "station/window/radio_group.h"
#include "tests/window/chip_choice.h"
#include "tests/window/dialog_driving.h"
#include "tests/window/station_units_fixture.h"

namespace zek::testing {
namespace {

constexpr uint32_t kFlashBytes = 16 * 1024;
constexpr char kBusyLine[] = "> 10:15:02 Programmer 3 is busy, please wait!";

uint8_t ImageA(uint32_t i) { return static_cast<uint8_t>(i * 7 + 1); }

// Everything the block builders and the settings block read.
std::vector<int64_t> ChainInputs(const StationState& st) {
  const ProgrammerSettings& s = st.Settings;
  return {Check16(st.MainBuffer.span(), 0, kMainBufferSize - 1),
          Check16(st.EepBuffer.span(), 0, kEepBufferSize - 1),
          Check16(st.OptionBuffer.span(), 0, kOptionBufferSize - 1),
          st.FamilyCode, st.ChipClassCode, st.ChipIndex, st.FlashSizeKB, st.ChipFlashSizeKB, st.EepSize,
          st.InfoSize, st.PageSize, st.ChipStartAddress, st.ChipEndAddress, st.EepStartAddress,
          st.OptionStartAddress, st.InfoStartAddress, st.MainAcc16, st.MainCrc16, st.EepAcc16, st.EepCrc16,
          st.OptionAcc16, st.OptionCrc16, st.EepEdited, st.EepStepsEnabled, st.FileLoaded, st.ChipSelected,
          s.AutoDetectFlags, s.CtrlFlags, s.CtrlFlags2, s.CtrlFlags3, s.CtrlFlags4, s.CtrlFlags5, s.CtrlFlags6,
          s.ChipInTime, s.ChipOutTime, s.PowerOnTime, s.SclkSetting, s.OkNgDelay, s.SNFlags, s.SNLength,
          s.NumberLimit, s.SNGain, s.SNAddress, s.SNValue};
}

class BusyGuards : public StationUnitsTest {
 public:
  // What the cases' operator reaches.
  using StationUnitsTest::dialogs;
  using StationUnitsTest::files;
  using StationUnitsTest::form;
  using StationUnitsTest::program;


  // Unit 3 is programming block 0 of a 16 KiB chip from image A.
  void StartProgramming(uint8_t class_code = 0x80) {
    StartWithUnits({2}, 3);
    TakeChip(class_code, 16, 1024, "BF7612BM20-SJBX");
    for (uint32_t i = 0; i < kFlashBytes; ++i) st().MainBuffer[i] = ImageA(i);
    st().FileLoaded = 1;
    form().SpdBtnProg->click();
    ASSERT_EQ(Codes(2), (std::vector<int>{0x95}));
    boxes.shown.clear();
    MarkMemo();
  }
  // The unit accepts the block it was sent.
  void AcceptBlock() { ReceiveOn(2, StatusReply(0x95, 0)); }

 public:
  std::string FileB() {
    return dir.Write("b.bin", std::vector<uint8_t>(kFlashBytes, 0x5B));
  }
  std::string ProjectB() {
    FakeStation other;
    other.st.ChipClassCode = 0x10;
    other.st.ChipFlashSizeKB = other.st.FlashSizeKB = 128;
    other.st.ChipEndAddress = 128 * 1024 - 1;
    other.st.ChipName = "BS32G030CBT6";
    std::fill(other.st.MainBuffer.begin(), other.st.MainBuffer.end(), 0x5B);
    const std::string path = dir.File("b.RQT");
    WriteProjectFile(other.st, path, 80);
    return path;
  }
};

// A command as the operator gives it, with the answers that would make it
// change something if it ran.
struct ChangeCase {
  const char* name;
  std::function<void(BusyGuards&)> give;
};

class RefusedWhileBusy : public BusyGuards, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(RefusedWhileBusy, WithTheBusyLineAndNothingChanged) {
  StartProgramming();
  const std::vector<int64_t> before = ChainInputs(st());
  const std::vector<std::string> summary = form().CfgInfoLines();
  GetParam().give(*this);
  EXPECT_EQ(NewLines(), (std::vector<std::string>{kBusyLine}));
  EXPECT_EQ(ChainInputs(st()), before);
  EXPECT_EQ(form().CfgInfoLines(), summary);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(files.asked.empty());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Codes(2), (std::vector<int>{0x95}));
  EXPECT_EQ(st().PortState[2], kStateProgram);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RefusedWhileBusy,
    ::testing::Values(
        ChangeCase{"Load",
                   [](BusyGuards& t) {
                     t.files.Answer(t.FileB());
                     t.form().SpdBtnOpen->click();
                   }},
        ChangeCase{"LoadMore",
                   [](BusyGuards& t) {
                     t.files.Answer(t.FileB());
                     t.form().SpdBtnOpenMor->click();
                   }},
        ChangeCase{"LoadEepData",
                   [](BusyGuards& t) {
                     t.files.Answer(t.FileB());
                     t.form().LoadEepData1->trigger();
                   }},
        ChangeCase{"ProjectLoad",
                   [](BusyGuards& t) {
                     t.files.Answer(t.ProjectB());
                     t.form().LoadformProjectFile1->trigger();
                   }},
        ChangeCase{"ChipDialog",
                   [](BusyGuards& t) {
                     ScriptChipDialog(t.dialogs, {"BS9000AM20"}, Close::Ok);
                     t.form().DevButton->click();
                   }},
        ChangeCase{"DataPatch",
                   [](BusyGuards& t) {
                     TConfigSNForm& d = *t.program->Dialogs().ConfigSNForm;
                     t.dialogs.script = [&d](QDialog&) {
                       TypeText(d.EditDataSN, "AB");
                       d.BitBtnOK->click();
                     };
                     t.form().BitBtn2X->click();
                   }},
        ChangeCase{"Settings",
                   [](BusyGuards& t) {
                     TKelpraCfgForm& d = *t.program->Dialogs().KelpraCfgForm;
                     t.dialogs.script = [&d](QDialog&) {
                       d.ChkBoxMute->setChecked(!d.ChkBoxMute->isChecked());
                       d.BitBtn2->click();
                     };
                     t.form().BitBtn1X->click();
                   }},
        ChangeCase{"OptionBytes",
                   [](BusyGuards& t) {
                     TBS32xOptBytFrm& d = *t.program->Dialogs().BS32xOptBytFrm;
                     t.dialogs.script = [&d](QDialog&) {
                       d.EditWRP[0]->setText("0x0F");
                       d.BitBtnOK->click();
                     };
                     t.form().ButtonCFGClick();
                   }},
        ChangeCase{"EepCellEdit",
                   [](BusyGuards& t) {
                     t.form().EEPViewSelectCell(2, 1);
                     t.form().EditEEP->setText("7");
                     t.form().BitBtn2->click();
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

// Loading b.bin and confirming another chip during Program change no byte
// of the blocks still to come.
TEST_F(BusyGuards, ARunningProgramKeepsItsImageAndChip) {
  StartProgramming();
  files.Answer(FileB());
  form().SpdBtnOpen->click();
  AcceptBlock();
  ScriptChipDialog(dialogs, {"BS32G030CBT6"}, Close::Ok);
  form().DevButton->click();
  for (int block = 1; block < 4 && st().PortBusy[2] != 0; ++block) AcceptBlock();

  const std::vector<Bytes> packets = SentPackets(ports[2].sent);
  ASSERT_EQ(packets.size(), 4u);
  for (uint16_t block = 0; block < 4; ++block) {
    const Bytes& p = packets[block];
    ASSERT_EQ(p.size(), 8u + 64u + 4096u + 2u);
    EXPECT_EQ(p[0], 0x95);
    EXPECT_EQ(p[1] | p[2] << 8, block * 4);
    EXPECT_EQ(p[4], 0x80) << "class, block " << block;
    for (uint32_t i = 0; i < 4096; ++i) {
      ASSERT_EQ(p[72 + i], ImageA(block * 4096u + i)) << "block " << block << " byte " << i;
    }
  }
  EXPECT_EQ(NewLines().back(), "> 10:15:02 C3: Programming Success!");
}

// Another unit may start while one works, but only with the control bytes
// the working unit reads for every packet. What each command does then:
// the codes unit 1 is sent, and the save dialogs it asks.
struct ControlsCase {
  const char* name;
  void (TProgramZEKFrm::*handler)();
  std::vector<int> starts;
  size_t save_dialogs = 0;
};

class ChangedControlsWhileBusy : public BusyGuards, public ::testing::WithParamInterface<ControlsCase> {};

TEST_P(ChangedControlsWhileBusy, AreRefusedAndTheSameControlsStart) {
  StartProgramming();
  st().PortConnected[0] = 1;  // unit 1 answered after the command
  const std::vector<int64_t> before = ChainInputs(st());
  form().RadioGpVolt->SetItemIndex(1);
  (form().*GetParam().handler)();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{kBusyLine}));
  EXPECT_EQ(ChainInputs(st()), before);
  EXPECT_TRUE(Codes(0).empty());
  EXPECT_TRUE(files.asked.empty());

  form().RadioGpVolt->SetItemIndex(0);
  files.answers.push_back(std::nullopt);  // the project save's dialog
  (form().*GetParam().handler)();
  EXPECT_EQ(ChainInputs(st()), before);
  EXPECT_EQ(Codes(0), GetParam().starts);
  EXPECT_EQ(files.asked.size(), GetParam().save_dialogs);
  AcceptBlock();
  EXPECT_EQ(SentPackets(ports[2].sent).back()[8 + 16] & 0x04, 0) << "block 1 still at 3.3V";
}

INSTANTIATE_TEST_SUITE_P(Commands, ChangedControlsWhileBusy,
                         ::testing::Values(ControlsCase{"Blank", &TProgramZEKFrm::SpdBtnBlankClick, {0x9305}},
                                           ControlsCase{"Program", &TProgramZEKFrm::SpdBtnProgClick, {0x95}},
                                           ControlsCase{"Download", &TProgramZEKFrm::SpdBtnDownLoadClick, {0x53}},
                                           ControlsCase{"AutoProgram", &TProgramZEKFrm::AutoSpdBtnClick, {0x9305}},
                                           ControlsCase{"ReadMemory", &TProgramZEKFrm::SpeedButtonRDClick, {0x9B}},
                                           ControlsCase{"ReadEep", &TProgramZEKFrm::ReadChipEepData1Click, {0x9C}},
                                           ControlsCase{"SaveProject", &TProgramZEKFrm::SaveasProjectFile1Click, {}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Edited EEP bytes not yet merged (classes up to 0x40) would change the
// main image under the working unit: the command that would merge them
// waits too.
TEST_F(BusyGuards, APendingEepMergeIsAChangeToo) {
  StartProgramming(0x00);
  st().PortConnected[0] = 1;
  st().EepEdited = 1;
  const std::vector<int64_t> before = ChainInputs(st());
  form().SpdBtnBlankClick();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{kBusyLine}));
  EXPECT_EQ(ChainInputs(st()), before);
  EXPECT_TRUE(Codes(0).empty());
}

TEST_F(BusyGuards, TheFirstBusyUnitIsNamedAndIdleUnitsAllowEverything) {
  StartWithUnits({0, 1}, 2);
  TakeChipAndFile();
  st().PortBusy[1] = 1;
  form().DevButton->click();
  st().PortBusy[0] = 1;
  form().DevButton->click();
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"> 10:15:02 Programmer 2 is busy, please wait!",
                                                  "> 10:15:02 Programmer 1 is busy, please wait!"}));
  EXPECT_TRUE(dialogs.shown.empty());
  st().PortBusy[0] = st().PortBusy[1] = 0;
  form().DevButton->click();
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"ChipSelectForm"}));
}

}  // namespace
}  // namespace zek::testing
