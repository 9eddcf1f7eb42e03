// Every dialog keeps what the operator set when the desktop minimises and
// restores it: the window system's show event is no new opening.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "station/data/chip_memory_map.h"
#include "station/data/format.h"
#include "station/window/config_sn_form.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/log_cfg_form.h"
#include "station/window/option_bytes_form.h"
#include "station/window/radio_group.h"
#include "tests/window/chip_choice.h"
#include "tests/window/dialog_driving.h"
#include "tests/window_x11/x_window_fixture.h"

namespace zek::testing {
namespace {

constexpr size_t kWrp0Offset = 500;

struct RestoreCase {
  const char* name;
  void (*prepare)(StationState&);
  void (*open)(TProgramZEKFrm&);          // the operator's way to the dialog
  void (*edit)(const StationDialogs&);    // what the operator sets before minimising
  void (*ok)(const StationDialogs&);      // pressed after the restore
  std::string (*stored)(StationProgram&);  // what OK stored, as text
  const char* expected;
};

void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

class DialogRestoreTest : public XWindowTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(DialogRestoreTest, OkStoresWhatTheOperatorSetBeforeMinimising) {
  const RestoreCase& c = GetParam();
  Start();
  c.prepare(st());
  bool restored = false;
  dialogs.script = [&](QDialog& dialog) {
    c.edit(program->Dialogs());
    restored = MinimiseAndRestore(dialog);
    c.ok(program->Dialogs());
  };
  c.open(form());
  ASSERT_TRUE(restored) << "the window system did not show the dialog again";
  EXPECT_EQ(c.stored(*program), c.expected);
}

void NoPreparation(StationState&) {}

void Bs32Chip(StationState& st) {
  st.ChipClassCode = 0x10;
  st.ChipFlashSizeKB = 128;
  st.ChipName = "BS32F103CBT6";
  SetMemoryMap(st);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogRestoreTest,
    ::testing::Values(
        RestoreCase{"DataPatchHex", [](StationState& st) { st.EepStartAddress = 0x40000000; },
                    [](TProgramZEKFrm& f) { f.BitBtn2X->click(); },
                    [](const StationDialogs& d) {
                      d.ConfigSNForm->AddrEditSN->setText("0x100");
                      d.ConfigSNForm->RadioGrpDT->Button(1)->click();
                      TypeText(d.ConfigSNForm->EditDataSN, "12 34");
                    },
                    [](const StationDialogs& d) { d.ConfigSNForm->BitBtnOK->click(); },
                    [](StationProgram& p) {
                      return Format("%0.2x %0.2x", {p.State().MainBuffer[0x100], p.State().MainBuffer[0x101]});
                    },
                    "12 34"},
        RestoreCase{"OptionBytesWrp0", Bs32Chip, [](TProgramZEKFrm& f) { f.ButtonCFG->click(); },
                    [](const StationDialogs& d) { d.BS32xOptBytFrm->EditWRP[0]->setText("0x0F"); },
                    [](const StationDialogs& d) { d.BS32xOptBytFrm->BitBtnOK->click(); },
                    [](StationProgram& p) {
                      return Format("WRP0 0x%0.2x, ", {p.State().OptionBuffer[kWrp0Offset]}) +
                             (p.Main().ChkBoxPrgInf->isChecked() ? "write ticked" : "write not ticked");
                    },
                    "WRP0 0x0F, write ticked"},
        RestoreCase{"ProgrammerSettings", NoPreparation, [](TProgramZEKFrm& f) { f.BitBtn1X->click(); },
                    [](const StationDialogs& d) { d.KelpraCfgForm->ChkBoxMute->setChecked(true); },
                    [](const StationDialogs& d) { d.KelpraCfgForm->BitBtn2->click(); },
                    [](StationProgram& p) {
                      const auto lines = p.Main().CfgInfoLines();
                      const auto beeper = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
                        return line.find("Beeper") != std::string::npos;
                      });
                      return beeper == lines.end() ? std::string("no beeper line") : *beeper;
                    },
                    "  > Shut Beeper"},
        RestoreCase{"LogSettings", NoPreparation, [](TProgramZEKFrm& f) { f.COnfigLogFile1->trigger(); },
                    [](const StationDialogs& d) {
                      d.LogCfgForm->RadioGrpCreat->Button(1)->click();
                      d.LogCfgForm->EditLogName->setText("run.log");
                    },
                    [](const StationDialogs& d) { d.LogCfgForm->OK->click(); },
                    [](StationProgram& p) {
                      const TLogCfgForm& log = *p.Dialogs().LogCfgForm;
                      return log.LogNameAuto() ? std::string("program-named") : "named " + log.GetLogFileName();
                    },
                    "named run.log"},
        RestoreCase{"ChipSelection", NoPreparation, [](TProgramZEKFrm& f) { f.DevButton->click(); },
                    [](const StationDialogs& d) { ClickPart(*d.ChipSelectForm, "BS32F030KBT6"); },
                    [](const StationDialogs& d) { d.ChipSelectForm->BitBtnOK->click(); },
                    [](StationProgram& p) { return p.State().ChipName; }, "BS32F030KBT6"}),
    [](const ::testing::TestParamInfo<RestoreCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
