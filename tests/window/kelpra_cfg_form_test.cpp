// The programmer settings dialog, shown and driven through its widgets.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "station/window/kelpra_cfg_form.h"
#include "station/window/limited_edit.h"
#include "station/window/spin_edit.h"
#include "tests/window/window_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

const std::vector<std::string> kStartUpSummary{"Programmer Setup:",          "  > No Number Control Enabled",
                                               "  > S/N Function Disabled",  "  > Enable Auto-Chip Detect",
                                               "  > Enable Beeper",          "  > Power On Time 100ms"};

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }
std::string Text(const SpinEdit* spin) { return spin->text().toStdString(); }

class KelpraCfgTest : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    st().EepStartAddress = 0xFFFFFFFF;  // a chip without EEP
  }

  TKelpraCfgForm& Dialog() { return *program->Dialogs().KelpraCfgForm; }

  // Opens the dialog from the main window's button; `drive` runs while it
  // is shown. Returns the dialog's result.
  int Open(const std::function<void(TKelpraCfgForm&)>& drive) {
    dialogs.script = [drive](QDialog& d) { drive(static_cast<TKelpraCfgForm&>(d)); };
    form().BitBtn1X->click();
    return Dialog().result();
  }
  int OpenAndOK(const std::function<void(TKelpraCfgForm&)>& drive = {}) {
    return Open([drive](TKelpraCfgForm& k) {
      if (drive) drive(k);
      k.BitBtn2->click();
    });
  }
  // What the next show loads, without changing anything.
  void Peek(const std::function<void(TKelpraCfgForm&)>& look) { Open(look); }
};

TEST_F(KelpraCfgTest, StartUpSettingsShowTheirTimesAndStoredLayoutStates) {
  Peek([](TKelpraCfgForm& k) {
    EXPECT_TRUE(k.isVisible());
    EXPECT_EQ(Text(k.SpinEditIn), "510");
    EXPECT_EQ(Text(k.SpinEditOut), "510");
    EXPECT_EQ(Text(k.SpinEditPwr), "100");
    EXPECT_EQ(Text(k.SpinEditDS), "2100");
    EXPECT_TRUE(k.CheckBoxAut->isChecked());
    EXPECT_FALSE(k.CheckBoxSN->isChecked());
    EXPECT_FALSE(k.CheckBoxCtrl->isChecked());
    EXPECT_TRUE(k.ChkBoxDLSI->isChecked());
    EXPECT_EQ(Text(k.SNEdit), "0x00000000");
    EXPECT_EQ(Text(k.AddrEdit), "0x00000000");
    EXPECT_EQ(Text(k.GainEdit), "0x00");
    for (QWidget* w : std::initializer_list<QWidget*>{k.SNEdit, k.GainEdit, k.AddrEdit, k.ChkBoxStrSN, k.SNOrderChk,
                                                      k.ChkBoxSNDP, k.ChkBoxPCSN, k.SpinEditNum})
      EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(k.LabelSN->isEnabled());
    EXPECT_TRUE(k.SpinEditIn->isEnabled());
    EXPECT_EQ(k.LabelSN->text().toStdString(), "S/N Initial:");
    EXPECT_EQ(k.LabelGN->text().toStdString(), "S/N Gain: ");
    EXPECT_EQ(k.GroupBoxCPD->title().toStdString(), "Chip Detect");
    EXPECT_EQ(k.CheckBoxAut->text().toStdString(), "Auto=Start After Detect Chip");
    EXPECT_EQ(k.LabelmsU->text().toStdString(), "ms  ");
    EXPECT_EQ(k.windowTitle().toStdString(), "Programmer Base Setting");
  });
  EXPECT_EQ(dialogs.shown, std::vector<std::string>{"KelpraCfgForm"});
}

TEST_F(KelpraCfgTest, OKAtTheFirstShowStoresTheStartUpChoices) {
  EXPECT_EQ(OpenAndOK(), QDialog::Accepted);
  const ProgrammerSettings& s = st().Settings;
  EXPECT_EQ(s.ChipInTime, 17);
  EXPECT_EQ(s.ChipOutTime, 17);
  EXPECT_EQ(s.OkNgDelay, 70);
  EXPECT_EQ(s.PowerOnTime, 10);
  EXPECT_EQ(s.AutoDetectFlags, 7);
  EXPECT_EQ(s.CtrlFlags, 0x10);
  EXPECT_EQ(s.CtrlFlags3, 0);
  EXPECT_EQ(s.NumberLimit, -1);
  EXPECT_EQ(s.SNFlags, 0);
  EXPECT_EQ(s.SNLength, 4);
  EXPECT_EQ(s.SNAddress, -1);
  EXPECT_EQ(s.SNValue, 0);
  EXPECT_EQ(MemoLines().back(), "> Serial No function is not used!");
  EXPECT_EQ(form().CfgInfoLines(),
            (std::vector<std::string>{"Programmer Setup:", "  > No Number Control Enabled", "  > S/N Function Disabled",
                                      "  > Enable Auto-Chip Detect", "  > Shut Power After Programmed",
                                      "  > Release Reset Signal, Not Run after programmed", "  > Enable Beeper",
                                      "  > Power On Time 100ms"}));
  EXPECT_TRUE(BoxTexts().size() == 1);  // only start-up's missing firmware file
}

TEST_F(KelpraCfgTest, TimesLoseTheirRemainderAndComeBackIntoRange) {
  OpenAndOK([](TKelpraCfgForm& k) {
    k.SpinEditDS->SetValue(1000);
    k.SpinEditIn->SetValue(500);
    k.SpinEditPwr->Editor()->setText("105");
  });
  EXPECT_EQ(st().Settings.OkNgDelay, 33);
  EXPECT_EQ(st().Settings.ChipInTime, 16);
  EXPECT_EQ(st().Settings.PowerOnTime, 10);
  // The summary reports the edit's value, not what was stored.
  EXPECT_EQ(form().CfgInfoLines().back(), "  > Power On Time 105ms");
  Peek([](TKelpraCfgForm& k) {
    EXPECT_EQ(Text(k.SpinEditDS), "1000");  // 990 is below the minimum
    EXPECT_EQ(Text(k.SpinEditIn), "480");
    EXPECT_EQ(Text(k.SpinEditPwr), "100");
  });
}

TEST_F(KelpraCfgTest, SpinEditsHaveTheirRangesStepsAndTypingLimits) {
  struct Range {
    SpinEdit* TKelpraCfgForm::*spin;
    int min, max, step, typed;  // typed: characters the operator may type, 0 for the range's own
  };
  const Range ranges[] = {{&TKelpraCfgForm::SpinEditNum, 0, 999999999, 100, 8},
                          {&TKelpraCfgForm::SpinEditPwr, 10, 1000, 10, 0},
                          {&TKelpraCfgForm::SpinEditDS, 1000, 3000, 30, 4},
                          {&TKelpraCfgForm::SpinEditIn, 300, 1500, 10, 0},
                          {&TKelpraCfgForm::SpinEditOut, 300, 2000, 10, 0}};
  Peek([&](TKelpraCfgForm& k) {
    for (const Range& r : ranges) {
      SpinEdit* spin = k.*r.spin;
      const std::string name = spin->objectName().toStdString();
      EXPECT_EQ(spin->minimum(), r.min) << name;
      EXPECT_EQ(spin->maximum(), r.max) << name;
      EXPECT_EQ(spin->singleStep(), r.step) << name;
      if (r.typed > 0) {
        spin->Editor()->clear();
        for (int i = 0; i < r.typed + 1; ++i) spin->Editor()->insert("1");
        EXPECT_EQ(spin->text().size(), r.typed) << name;
      }
    }
  });
}

TEST_F(KelpraCfgTest, SpinEditTextThatIsNoNumberReadsAsTheMinimum) {
  Peek([](TKelpraCfgForm& k) {
    // Leaving the box shows what reading it gives.
    for (const char* text : {"", "5"}) {
      k.SpinEditPwr->Editor()->setText(text);
      EXPECT_EQ(k.SpinEditPwr->Value(), 10) << text;
      k.SpinEditPwr->interpretText();
      EXPECT_EQ(Text(k.SpinEditPwr), "10") << text;
    }
  });
  OpenAndOK([](TKelpraCfgForm& k) {
    k.SpinEditPwr->Editor()->clear();
    k.SpinEditDS->Editor()->clear();
  });
  EXPECT_EQ(st().Settings.PowerOnTime, 1);
  EXPECT_EQ(st().Settings.OkNgDelay, 33);
  EXPECT_EQ(form().CfgInfoLines().back(), "  > Power On Time 10ms");
}

TEST_F(KelpraCfgTest, NumberLimitOnStoresTheLimitAndItsBit) {
  OpenAndOK([](TKelpraCfgForm& k) {
    k.CheckBoxCtrl->setChecked(true);
    EXPECT_TRUE(k.SpinEditNum->isEnabled());
    k.SpinEditNum->SetValue(500);
  });
  EXPECT_EQ(st().Settings.NumberLimit, 500);
  EXPECT_EQ(st().Settings.SNFlags, 0x80);
  EXPECT_EQ(form().CfgInfoLines()[1], "   > Enable Number Control : 500.");
  Peek([](TKelpraCfgForm& k) {
    EXPECT_TRUE(k.CheckBoxCtrl->isChecked());
    EXPECT_EQ(Text(k.SpinEditNum), "500");
  });
}

TEST_F(KelpraCfgTest, ValuesLongerThanTheTypingLimitAreShownWhole) {
  st().Settings.NumberLimit = 999999999;
  st().Settings.SNGain = 0xFFFF;
  st().Settings.SNFlags = 0x91;
  st().Settings.SNValue = INT32_MIN;
  Peek([](TKelpraCfgForm& k) {
    EXPECT_EQ(Text(k.SpinEditNum), "999999999");
    EXPECT_EQ(Text(k.GainEdit), "0xFFFF");
    EXPECT_EQ(Text(k.SNEdit), "-2147483648");
    // A longer text may be shortened but typing never grows it past the limit.
    k.GainEdit->end(false);
    k.GainEdit->backspace();
    EXPECT_EQ(Text(k.GainEdit), "0xFFF");
    k.GainEdit->insert("1");
    EXPECT_EQ(Text(k.GainEdit), "0xFFF");
    k.GainEdit->clear();
    for (char c : std::string("0x1234")) k.GainEdit->insert(QString(c));
    EXPECT_EQ(Text(k.GainEdit), "0x12");
    k.SpinEditNum->Editor()->clear();
    for (char c : std::string("123456789")) k.SpinEditNum->Editor()->insert(QString(c));
    EXPECT_EQ(Text(k.SpinEditNum), "12345678");
    EXPECT_EQ(k.SpinEditNum->Value(), 12345678);
  });
}

TEST_F(KelpraCfgTest, StringAndBigEndianStoreOnlyTheStringBit) {
  OpenAndOK([](TKelpraCfgForm& k) {
    k.CheckBoxSN->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{k.SNEdit, k.GainEdit, k.AddrEdit, k.ChkBoxStrSN, k.SNOrderChk,
                                                      k.ChkBoxSNDP, k.ChkBoxPCSN})
      EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    k.ChkBoxStrSN->setChecked(true);
    k.SNOrderChk->setChecked(true);
    k.SNEdit->setText("x1F");
    k.GainEdit->setText("$FF");
    k.AddrEdit->setText("0x0000FFF0");
  });
  const ProgrammerSettings& s = st().Settings;
  EXPECT_EQ(s.SNFlags, 0x05);
  EXPECT_EQ(s.SNValue, 31);
  EXPECT_EQ(s.SNGain, 255);
  EXPECT_EQ(s.SNAddress, 0xFFF0);
  const std::vector<std::string> memo = MemoLines();
  ASSERT_GE(memo.size(), 2u);
  EXPECT_EQ(memo[memo.size() - 2], "> Serial No. function is used : ");
  EXPECT_EQ(memo.back(), "> SN Address is 0x00FFF0,Current SN is 0x0000001F.");
  const std::vector<std::string> summary = form().CfgInfoLines();
  EXPECT_EQ(summary[2], "  > S/N Function Used, SN=x1F,Address=0x0000FFF0SN Gain: $FF");
  EXPECT_EQ(summary[3], "  > Use String S/N , Big Endian, Disable PC On-Line SN");
  Peek([](TKelpraCfgForm& k) {
    EXPECT_TRUE(k.CheckBoxSN->isChecked());
    EXPECT_TRUE(k.ChkBoxStrSN->isChecked());
    EXPECT_FALSE(k.SNOrderChk->isChecked());
    EXPECT_EQ(Text(k.SNEdit), "0x0000001F");
    EXPECT_EQ(Text(k.GainEdit), "0xFF");
  });
}

struct AddressCase {
  uint32_t eep_start;
  const char* address;
  uint8_t flags;
};

class KelpraCfgAddressTest : public KelpraCfgTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(KelpraCfgAddressTest, AddressAtOrAboveTheEepStartSetsBitSix) {
  const AddressCase c = GetParam();
  st().EepStartAddress = c.eep_start;
  OpenAndOK([&](TKelpraCfgForm& k) {
    k.CheckBoxSN->setChecked(true);
    k.AddrEdit->setText(c.address);
  });
  EXPECT_EQ(st().Settings.SNFlags, c.flags) << c.address;
}

INSTANTIATE_TEST_SUITE_P(Table, KelpraCfgAddressTest,
                         ::testing::Values(AddressCase{0x4000, "0x4000", 0x41}, AddressCase{0x4000, "0x3FFF", 0x01},
                                           AddressCase{0x4000, "-1", 0x41},  // compared unsigned
                                           AddressCase{0xFFFFFFFF, "0xFFFFFFFE", 0x01},
                                           AddressCase{0xFFFFFFFF, "0xFFFFFFFF", 0x41}),
                         [](const auto& info) { return "Eep" + ::zek::testing::Hex(info.param.eep_start) + "_At" + ::zek::testing::CaseName(info.param.address); });

TEST_F(KelpraCfgTest, DecimalDisplayOfAHighSNFailsAtOKKeepingTheEarlierSteps) {
  st().Settings.SNValue = 5;
  EXPECT_EQ(OpenAndOK([](TKelpraCfgForm& k) {
              k.CheckBoxSN->setChecked(true);
              k.SNEdit->setText("0x90000000");
              k.ChkBoxSNDP->setChecked(true);
              EXPECT_EQ(Text(k.SNEdit), "2415919104");
              k.GainEdit->setText("2");
              k.SpinEditPwr->SetValue(200);
              k.ChkBoxMute->setChecked(true);
            }),
            QDialog::Accepted);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(BoxTexts().back(), "'2415919104' is not a valid integer value");
  const ProgrammerSettings& s = st().Settings;
  EXPECT_EQ(s.PowerOnTime, 20);
  EXPECT_EQ(s.CtrlFlags, 0x90);
  EXPECT_EQ(s.NumberLimit, -1);
  EXPECT_EQ(s.SNLength, 4);
  EXPECT_EQ(s.SNGain, 2);
  EXPECT_EQ(s.SNFlags, 0x11);
  EXPECT_EQ(s.SNValue, 5);
  EXPECT_EQ(form().CfgInfoLines(), kStartUpSummary);
  EXPECT_NE(MemoLines().back(), "> Serial No. function is used : ");
}

TEST_F(KelpraCfgTest, DecimalBoxRewritesTheSNTextBothWays) {
  Open([this](TKelpraCfgForm& k) {
    k.CheckBoxSN->setChecked(true);
    k.SNEdit->setText("-1");
    k.ChkBoxSNDP->setChecked(true);
    EXPECT_EQ(Text(k.SNEdit), "4294967295");
    k.ChkBoxSNDP->setChecked(false);
    EXPECT_EQ(Text(k.SNEdit), "0xFFFFFFFF");
    // A text that is no number is reported and left as it is.
    k.SNEdit->setText("12Z");
    k.ChkBoxSNDP->setChecked(true);
    EXPECT_EQ(Text(k.SNEdit), "12Z");
    EXPECT_EQ(BoxTexts().back(), "'12Z' is not a valid integer value");
  });
}

TEST_F(KelpraCfgTest, LoadingRunsTheActionsOfChangedBoxesOnly) {
  st().Settings.CtrlFlags3 = 0x06;  // run chip and lock reset
  st().Settings.SNFlags = 0x90;     // limit and decimal, S/N off
  st().Settings.AutoDetectFlags = 0;
  st().Settings.SNValue = -7;
  Peek([](TKelpraCfgForm& k) {
    // The reset box is loaded after the run-chip box cleared it.
    EXPECT_TRUE(k.ChkBoxStrChip->isChecked());
    EXPECT_TRUE(k.CheckBoxRst->isChecked());
    EXPECT_TRUE(k.SpinEditNum->isEnabled());
    EXPECT_FALSE(k.SpinEditIn->isEnabled());
    EXPECT_FALSE(k.SpinEditOut->isEnabled());
    EXPECT_FALSE(k.SNEdit->isEnabled());
    EXPECT_EQ(Text(k.SNEdit), "-7");
    // Unchecking the run-chip box leaves the reset box alone.
    k.ChkBoxStrChip->setChecked(false);
    EXPECT_TRUE(k.CheckBoxRst->isChecked());
    k.ChkBoxStrChip->setChecked(true);
    EXPECT_FALSE(k.CheckBoxRst->isChecked());
    k.CheckBoxRst->setChecked(true);
    EXPECT_TRUE(k.ChkBoxStrChip->isChecked());
    // A box loaded into the state it has runs nothing.
    k.SpinEditNum->setEnabled(false);
    k.SNEdit->setText("not a number");
  });
  Peek([](TKelpraCfgForm& k) {
    EXPECT_FALSE(k.SpinEditNum->isEnabled());
    EXPECT_EQ(Text(k.SNEdit), "-7");
    k.SNEdit->setText("junk");
  });
  // The decimal box changes on loading while the S/N text left behind is
  // no number: nothing is reported and the show loads every control.
  st().Settings.SNFlags = 0;
  st().Settings.ChipInTime = 20;
  Peek([](TKelpraCfgForm& k) {
    EXPECT_FALSE(k.ChkBoxSNDP->isChecked());
    EXPECT_EQ(Text(k.SNEdit), "0xFFFFFFF9");
    EXPECT_EQ(Text(k.SpinEditIn), "600");
  });
  EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(KelpraCfgTest, OnlineSNStartsUncheckedAndOnlyChangesTheSummary) {
  OpenAndOK([](TKelpraCfgForm& k) {
    k.CheckBoxSN->setChecked(true);
    k.ChkBoxPCSN->setChecked(true);
  });
  const uint8_t flags = st().Settings.SNFlags;
  EXPECT_EQ(flags, 0x01);
  EXPECT_EQ(form().CfgInfoLines()[3], "  > Use Binary S/N ,Little Endian, Enable PC On-Line SN");
  Peek([](TKelpraCfgForm& k) { EXPECT_FALSE(k.ChkBoxPCSN->isChecked()); });
}

TEST_F(KelpraCfgTest, CancelStoresNothingAndTheDelayBoxKeepsItsState) {
  const std::vector<std::string> memo = MemoLines();
  EXPECT_EQ(Open([](TKelpraCfgForm& k) {
              k.ChkBoxDLSI->setChecked(false);
              k.SpinEditPwr->SetValue(500);
              k.CheckBoxCtrl->setChecked(true);
              k.BitBtn1->click();
            }),
            QDialog::Rejected);
  EXPECT_EQ(st().Settings.PowerOnTime, 10);
  EXPECT_EQ(st().Settings.SNLength, 0);
  EXPECT_EQ(MemoLines(), memo);
  EXPECT_EQ(form().CfgInfoLines(), kStartUpSummary);
  OpenAndOK([](TKelpraCfgForm& k) {
    EXPECT_FALSE(k.ChkBoxDLSI->isChecked());
    EXPECT_FALSE(k.CheckBoxCtrl->isChecked());
    EXPECT_EQ(Text(k.SpinEditPwr), "100");
  });
  EXPECT_EQ(st().Settings.CtrlFlags, 0x00);
}

class KelpraCfgChineseTest : public KelpraCfgTest {
 protected:
  void SetUp() override {
    Start({}, &ChineseEdition());
    st().EepStartAddress = 0xFFFFFFFF;
  }
};

TEST_F(KelpraCfgChineseTest, CaptionsAndSummaryAreTheChineseEditions) {
  OpenAndOK([](TKelpraCfgForm& k) {
    EXPECT_EQ(k.LabelSN->text().toStdString(), "序列号初值：");
    EXPECT_EQ(k.LabelPWTM->text().toStdString(), "上电稳定时间(ms)：  ");
    EXPECT_EQ(k.GroupBoxCPD->title().toStdString(), "芯片检测");
    EXPECT_EQ(k.SNOrderChk->text().toStdString(), "大端模式(Big Endian)");
    EXPECT_EQ(k.LabelmsU->text().toStdString(), "毫秒");
    EXPECT_EQ(k.windowTitle().toStdString(), "Programmer Base Setting");
    k.CheckBoxCtrl->setChecked(true);
    k.SpinEditNum->SetValue(500);
  });
  EXPECT_EQ(form().CfgInfoLines(),
            (std::vector<std::string>{"编程器基本设置如下：", "   > 本次烧写允许烧写数量为：500.", "  > S/N功能未启用",
                                      "  > 启用自动芯片检测并烧写功能", "  > 烧写完后关闭电源输出",
                                      "  > 未锁定复位，烧写成功后不启动芯片", "  > 允许蜂鸣器提示音",
                                      "  > 上电稳定时间为 100ms"}));
  EXPECT_EQ(st().Settings.NumberLimit, 500);
  EXPECT_EQ(MemoLines().back(), "> Serial No function is not used!");
}

}  // namespace
}  // namespace zek::testing
