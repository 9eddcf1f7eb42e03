// Control bytes read from the chip-setup controls.

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <algorithm>
#include <functional>

#include "station/link/control_settings.h"
#include "station/window/radio_group.h"
#include "tests/window/station_units_fixture.h"

namespace zek::testing {
namespace {

struct WidgetCase {
  const char* name;
  uint8_t class_code;
  std::function<void(TProgramZEKFrm&)> set;
  uint8_t f1, f2, f3, f4, sclk, eep_steps;
};

class ControlWidgets : public StationUnitsTest, public ::testing::WithParamInterface<WidgetCase> {};

TEST_P(ControlWidgets, EachControlReachesItsBit) {
  const WidgetCase& c = GetParam();
  StartWithUnits({}, 0);
  TakeChip(c.class_code, 32, 1024, "part");
  st().Settings.CtrlFlags = 0x80;  // beeper off, from the settings dialog
  c.set(form());
  form().CollectControlSettings();
  EXPECT_EQ(st().Settings.CtrlFlags, c.f1);
  EXPECT_EQ(st().Settings.CtrlFlags2, c.f2);
  EXPECT_EQ(st().Settings.CtrlFlags3, c.f3);
  EXPECT_EQ(st().Settings.CtrlFlags4, c.f4);
  EXPECT_EQ(st().Settings.SclkSetting, c.sclk);
  EXPECT_EQ(st().EepStepsEnabled, c.eep_steps);
  EXPECT_EQ(NewLines(), (std::vector<std::string>{ControlSettingLine(st())}));
}

void Tick(QCheckBox* TProgramZEKFrm::*box, TProgramZEKFrm& form) { (form.*box)->setChecked(true); }

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlWidgets,
    ::testing::Values(
        WidgetCase{"Untouched", 0x00, [](TProgramZEKFrm&) {}, 0x80, 0x00, 0x80, 0x00, 0, 0},
        WidgetCase{"MedSpeed", 0x90, [](TProgramZEKFrm& f) { f.ComBoxSpdCLK->setCurrentIndex(3); }, 0x80, 0x04, 0x90,
                   0x00, 20, 0},
        WidgetCase{"FiveVolt", 0x00, [](TProgramZEKFrm& f) { f.RadioGpVolt->Button(1)->click(); }, 0x84, 0x00, 0x80,
                   0x00, 0, 0},
        WidgetCase{"EraseEep", 0x00, [](TProgramZEKFrm& f) { Tick(&TProgramZEKFrm::ChkBoxErsEE, f); }, 0x80, 0x10,
                   0x80, 0x00, 0, 1},
        WidgetCase{"EraseInfo", 0x00, [](TProgramZEKFrm& f) { Tick(&TProgramZEKFrm::ChkBoxErsInf, f); }, 0x80, 0x20,
                   0x80, 0x00, 0, 1},
        WidgetCase{"WriteEep", 0x00, [](TProgramZEKFrm& f) { Tick(&TProgramZEKFrm::ChkBoxPrgEE, f); }, 0x80, 0x40,
                   0x80, 0x00, 0, 1},
        WidgetCase{"WriteInfo", 0x00, [](TProgramZEKFrm& f) { Tick(&TProgramZEKFrm::ChkBoxPrgInf, f); }, 0x80, 0x80,
                   0x80, 0x00, 0, 1},
        WidgetCase{"WriteOptionData", 0x10, [](TProgramZEKFrm& f) { Tick(&TProgramZEKFrm::ChkBoxPrgInf, f); }, 0x80,
                   0x00, 0x80, 0x20, 0, 0},
        WidgetCase{"FlashBoot", 0x00, [](TProgramZEKFrm& f) { Tick(&TProgramZEKFrm::ChkBoxBOOT, f); }, 0x80, 0x00,
                   0x00, 0x00, 0, 0},
        WidgetCase{"BlockProgramming", 0x00, [](TProgramZEKFrm& f) { f.RadioGroupCS->SetItemIndex(1); }, 0x80, 0x08,
                   0x80, 0x00, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

using ControlBytes = StationUnitsTest;

TEST_F(ControlBytes, EditedEepromLandsInTheLastPageOfA96KBChip) {
  StartWithUnits({}, 0);
  TakeChip(0x00, 96, 2048, "DLM8F96");
  ASSERT_EQ(st().ChipEndAddress, 0x17FFFu);
  for (size_t i = 0; i < 1024; ++i) st().EepBuffer[i] = static_cast<uint8_t>(i ^ 0x5A);
  st().EepEdited = 1;
  form().CollectControlSettings();
  EXPECT_EQ(st().EepEdited, 0);
  EXPECT_TRUE(std::equal(st().EepBuffer.data(), st().EepBuffer.data() + 1024, st().MainBuffer.data() + 0x17000));
  EXPECT_EQ(st().MainBuffer[0x16FFF], 0xFF);
  EXPECT_EQ(st().MainBuffer[0x17400], 0xFF);
  EXPECT_EQ(MemoLines().back(), ControlSettingLine(st()));
}

}  // namespace
}  // namespace zek::testing
