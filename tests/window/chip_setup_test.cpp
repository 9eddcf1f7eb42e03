// The chip-dependent set-up of the main window, run by choosing parts in
// the chip dialog: what the operator sees for each chip class.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "station/window/main_form.h"
#include "tests/window/chip_choice.h"

namespace zek::testing {
namespace {

const std::vector<std::string> kOptionDump = {
    "", "> Chip Option Byte data as below : ",
    "   0201E0: FF FF FF FF FF FF FF FF FF FF 00 00 FF FF 00 00 ",
    "   0201F0: FF FF 00 00 FF FF 00 00 A5 07 5A F8 FF FF 00 00 "};

class ChipSetupTest : public WindowTest {
 protected:
  void Begin(const EditionTexts* texts = nullptr) {
    Start({}, texts);
    boxes.shown.clear();
  }
  // The lines the choice added to the information pane.
  std::vector<std::string> Choose(const std::string& name) {
    const size_t before = MemoLines().size();
    ScriptChipDialog(dialogs, {name}, Close::Ok);
    form().DevButton->click();
    const std::vector<std::string> lines = MemoLines();
    return {lines.begin() + static_cast<long>(before), lines.end()};
  }
  static bool Shown(const QWidget* w) { return !w->isHidden(); }
  bool EepTabShown() { return form().ViewPageCtrl->isTabVisible(form().ViewPageCtrl->indexOf(form().TabSheetEep)); }
  std::string Text(const QCheckBox* box) { return box->text().toStdString(); }
};

struct SetupCase {
  const char* part;
  int erase_left;
  int speed;
  bool chip_buttons;  // read, erase, program
  bool option_menus;
  bool eep;            // EEP boxes, menu items and tab
  bool info_menu;
  bool erase_inf_enabled, write_inf_enabled;
  bool option_boxes;  // ButtonCFG and the option captions
  bool note;
  std::vector<std::string> lines;
};

void PrintTo(const SetupCase& c, std::ostream* os) { *os << c.part; }

class ChipSetupRowTest : public ChipSetupTest, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(ChipSetupRowTest, WindowFollowsTheClass) {
  const SetupCase& c = GetParam();
  Begin();
  form().ChkBoxErsEE->setChecked(true);
  form().ChkBoxErsInf->setChecked(true);
  st().EepEdited = 1;

  const std::vector<std::string> lines = Choose(c.part);

  EXPECT_EQ(st().EepEdited, 0);
  EXPECT_EQ(form().SpdBtnErase->x(), c.erase_left);
  EXPECT_EQ(form().SpdBtnVerify->x(), 888);
  EXPECT_EQ(form().AutoSpdBtn->x(), 502);
  EXPECT_EQ(form().ComBoxSpdCLK->currentIndex(), c.speed);
  EXPECT_TRUE(Shown(form().ComBoxSpdCLK) && Shown(form().LabelSCKSEL));
  for (const QToolButton* b : {form().SpeedButtonRD, form().SpdBtnErase, form().SpdBtnProg}) {
    EXPECT_EQ(Shown(b), c.chip_buttons) << b->objectName().toStdString();
  }
  EXPECT_EQ(form().ReadChipOption1->isVisible(), c.option_menus);
  EXPECT_EQ(form().WriteChipOption1->isVisible(), c.option_menus);
  EXPECT_EQ(form().WriteChipEepData1->isVisible(), c.eep);
  EXPECT_EQ(form().ReadChipEepData1->isVisible(), c.eep);
  EXPECT_EQ(EepTabShown(), c.eep);
  EXPECT_EQ(Shown(form().ChkBoxErsEE), c.eep);
  EXPECT_EQ(Shown(form().ChkBoxPrgEE), c.eep);
  EXPECT_EQ(form().ChkBoxErsEE->isChecked(), c.eep);  // a hidden box is never left ticked
  EXPECT_EQ(form().ReadChipInfoMemory1->isVisible(), c.info_menu);
  EXPECT_FALSE(form().ChkBoxErsInf->isChecked());
  EXPECT_EQ(form().ChkBoxErsInf->isEnabled(), c.erase_inf_enabled);
  EXPECT_EQ(form().ChkBoxPrgInf->isEnabled(), c.write_inf_enabled);
  EXPECT_EQ(Shown(form().ButtonCFG), c.option_boxes);
  EXPECT_EQ(Text(form().ChkBoxErsInf), c.option_boxes ? "Enable Erase Option Data" : "Enable Erase Info Block");
  EXPECT_EQ(Text(form().ChkBoxPrgInf), c.option_boxes ? "Enable Write Option Data" : "Enable Write Info Block");
  if (c.note) {
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Note: This chip need use \"BF7112-CNV\" Board!"});
    EXPECT_EQ(boxes.shown[0].kind, "plain");
  } else {
    EXPECT_TRUE(boxes.shown.empty());
  }
  std::vector<std::string> expected = {"> 10:15:02 Chip \"" + std::string(c.part) + "\" is selectd"};
  expected.insert(expected.end(), c.lines.begin(), c.lines.end());
  EXPECT_EQ(lines, expected);
}

std::vector<std::string> With(std::string line, const std::vector<std::string>& more = {}) {
  std::vector<std::string> lines = {"> 10:15:02 " + line};
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ChipSetupRowTest,
    ::testing::Values(
        //        part            erase speed btns  optmenu eep  infomenu ersInf prgInf option note
        SetupCase{"BF7106AM28-TBBX", 632, 0, false, false, true, true, true, true, false, false,
                  With("Flash Size=96KB, EEP Byte=2048B ")},
        SetupCase{"BF7112A-JCST", 717, 3, true, true, false, true, false, false, false, true,
                  With("Flash Size=32KB, No EEP Data.")},
        SetupCase{"BF7614BM28", 717, 3, true, true, true, false, false, false, false, false,
                  With("Flash Size=48KB, EEP Byte=1024B ")},
        SetupCase{"BS9400AM20", 717, 3, true, false, false, true, false, false, false, false,
                  With("Chip Memory Size=32KB(30.5KB Flash,0.5K NVR,1KB EEP)")},
        SetupCase{"BS32G030CBT6", 717, 0, true, true, false, true, false, true, true, false,
                  With("Flash Size=128KB, No EEP Data.", kOptionDump)},
        SetupCase{"BS32F030KBU6", 717, 0, true, true, false, true, false, true, true, false,
                  With("Flash Size=128KB, No EEP Data.", kOptionDump)}),
    [](const auto& info) {
      std::string name = info.param.part;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

// What a row does not name keeps what the chip before gave it.
TEST_F(ChipSetupTest, NextChipUndoesTheOptionBoxes) {
  Begin();
  Choose("BS32F103CBT6");
  form().ChkBoxPrgInf->setChecked(true);
  Choose("BF7006AM64-LBTX");
  EXPECT_FALSE(Shown(form().ButtonCFG));
  EXPECT_FALSE(form().ReadChipOption1->isVisible());
  EXPECT_FALSE(form().ChkBoxPrgInf->isChecked());
  EXPECT_TRUE(Shown(form().ChkBoxPrgInf));  // visibility left as the BS32 part set it
  EXPECT_EQ(Text(form().ChkBoxErsInf), "Enable Erase Info Block");
  EXPECT_TRUE(Shown(form().ChkBoxErsEE) && !form().ChkBoxErsEE->isChecked());
  // A 0x90 part without EEP disables the EEP boxes for itself alone.
  Choose("BS9000AM64");
  EXPECT_FALSE(form().ChkBoxErsEE->isEnabled());
  EXPECT_FALSE(form().ChkBoxPrgEE->isEnabled());
  Choose("BF7612BM20-SJBX");
  EXPECT_TRUE(Shown(form().ChkBoxErsEE) && Shown(form().ChkBoxPrgEE));
  EXPECT_TRUE(form().ChkBoxErsEE->isEnabled());
  EXPECT_TRUE(form().ChkBoxPrgEE->isEnabled());
}

TEST_F(ChipSetupTest, ChineseEditionCaptionsAndNote) {
  Begin(&ChineseEdition());
  const std::vector<std::string> lines = Choose("BF7112A-JCST");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"注意：该芯片需要使用\"BF7112-CNV\"转接板!"});
  EXPECT_EQ(lines.front(), "> 10:15:02 Chip \"BF7112A-JCST\" is selectd");
  EXPECT_EQ(Text(form().ChkBoxErsInf), "允许擦除信息数据区");
  EXPECT_EQ(Text(form().ChkBoxPrgInf), "允许烧写信息数据区");
  Choose("BS32G030KBT6");
  EXPECT_EQ(Text(form().ChkBoxErsInf), "允许擦除Option数据");
  EXPECT_EQ(Text(form().ChkBoxPrgInf), "允许烧写Option数据");
  EXPECT_EQ(BoxTexts().size(), 1u);
}

}  // namespace
}  // namespace zek::testing
