#include "station/link/control_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "station/data/byte_sums.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

struct Flags {
  uint8_t f1, f2, f3, f4;
};

struct BitCase {
  const char* name;
  uint8_t class_code;
  Flags before;
  ControlStates controls;
  Flags after;
  uint8_t sclk;
  uint8_t eep_steps;
};

class ControlBits : public ::testing::TestWithParam<BitCase> {};

TEST_P(ControlBits, RewriteOnlyTheirOwnBits) {
  const BitCase& c = GetParam();
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.ChipClassCode = c.class_code;
  st.Settings.CtrlFlags = c.before.f1;
  st.Settings.CtrlFlags2 = c.before.f2;
  st.Settings.CtrlFlags3 = c.before.f3;
  st.Settings.CtrlFlags4 = c.before.f4;
  st.Settings.CtrlFlags5 = 0x5A;
  st.EepStepsEnabled = 1 - c.eep_steps;
  ApplyControlSettings(st, c.controls);
  EXPECT_EQ(st.Settings.CtrlFlags, c.after.f1);
  EXPECT_EQ(st.Settings.CtrlFlags2, c.after.f2);
  EXPECT_EQ(st.Settings.CtrlFlags3, c.after.f3);
  EXPECT_EQ(st.Settings.CtrlFlags4, c.after.f4);
  EXPECT_EQ(st.Settings.CtrlFlags5, 0x5A);
  EXPECT_EQ(st.Settings.SclkSetting, c.sclk);
  EXPECT_EQ(st.EepStepsEnabled, c.eep_steps);
}

ControlStates Speed(int index) {
  ControlStates c;
  c.SpeedIndex = index;
  return c;
}

ControlStates Volt(int index) {
  ControlStates c;
  c.VoltageIndex = index;
  return c;
}

ControlStates Boxes(bool erase_eep, bool erase_info, bool write_eep, bool write_info) {
  ControlStates c;
  c.EraseEep = erase_eep;
  c.EraseInfo = erase_info;
  c.WriteEep = write_eep;
  c.WriteInfo = write_info;
  return c;
}

ControlStates Boot() {
  ControlStates c;
  c.FlashBoot = true;
  return c;
}

ControlStates BlockMode() {
  ControlStates c;
  c.ProgramModeIndex = 1;
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ControlBits,
    ::testing::Values(
        // The beeper-off bit belongs to the settings dialog.
        BitCase{"FiveVoltWithBeeperOff", 0x00, {0x80, 0, 0, 0}, Volt(1), {0x84, 0, 0x80, 0}, 0, 0},
        BitCase{"BackToThreeVolt", 0x00, {0x84, 0, 0, 0}, Volt(0), {0x80, 0, 0x80, 0}, 0, 0},
        BitCase{"NoVoltageSelectedIsNotFiveVolt", 0x00, {0x04, 0, 0, 0}, Volt(-1), {0x00, 0, 0x80, 0}, 0, 0},
        BitCase{"BS32AfterEepromSteps", 0x10, {0, 0xF3, 0, 0}, Boxes(true, true, true, true),
                {0, 0x03, 0x80, 0x20}, 0, 0},
        BitCase{"BS32KeepsTheOtherFlags4Bits", 0x12, {0, 0, 0, 0xFF}, Boxes(true, true, true, false),
                {0, 0, 0x80, 0xDF}, 0, 0},
        BitCase{"OtherClassesLeaveFlags4", 0x80, {0, 0, 0, 0x20}, Boxes(false, false, false, true),
                {0, 0x80, 0x80, 0x20}, 5, 1},
        BitCase{"EraseEepIsBit4", 0x00, {0, 0, 0, 0}, Boxes(true, false, false, false), {0, 0x10, 0x80, 0}, 0, 1},
        BitCase{"EraseInfoIsBit5", 0x00, {0, 0, 0, 0}, Boxes(false, true, false, false), {0, 0x20, 0x80, 0}, 0, 1},
        BitCase{"WriteEepIsBit6", 0x90, {0, 0, 0, 0}, Boxes(false, false, true, false), {0, 0x40, 0x90, 0}, 5, 1},
        BitCase{"WriteInfoIsBit7", 0x40, {0, 0, 0, 0}, Boxes(false, false, false, true), {0, 0x80, 0x80, 0}, 5, 1},
        BitCase{"UntickedBoxesClearTheirBitsAndKeepBits0And1", 0x00, {0, 0xFB, 0, 0}, ControlStates{},
                {0, 0x03, 0x80, 0}, 0, 0},
        BitCase{"MedSpeedOnClass00", 0x00, {0, 0, 0, 0}, Speed(3), {0, 0x04, 0x80, 0}, 30, 0},
        BitCase{"MedSpeedOnClass90", 0x90, {0, 0, 0, 0}, Speed(3), {0, 0x04, 0x90, 0}, 20, 0},
        BitCase{"SlowestBelowClass40", 0x3F, {0, 0, 0, 0}, Speed(7), {0, 0x04, 0x80, 0}, 70, 0},
        BitCase{"SlowestFromClass40", 0x40, {0, 0, 0, 0}, Speed(7), {0, 0x04, 0x80, 0}, 40, 0},
        BitCase{"FastestClearsTheSpeedBit", 0x82, {0, 0x04, 0, 0}, Speed(0), {0, 0, 0x80, 0}, 5, 0},
        BitCase{"Class80ClearsBit4KeepsDialogBits", 0x80, {0, 0, 0x7F, 0}, ControlStates{}, {0, 0, 0xEF, 0}, 5, 0},
        BitCase{"BootTickedClearsBit7", 0x00, {0, 0, 0xFF, 0}, Boot(), {0, 0, 0x6F, 0}, 0, 0},
        BitCase{"BlockProgrammingIsBit3", 0x00, {0, 0, 0, 0}, BlockMode(), {0, 0x08, 0x80, 0}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlSettingLine, ListsDescriptorAndControlBytesInUpperCaseHex) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.ChipClassCode = 0x90;
  st.ChipIndex = 2;
  st.FlashSizeKB = 32;
  st.EepSize = 1024;
  st.PageSize = 512;
  st.InfoSize = 0x1AB;
  st.Settings.CtrlFlags = 0x80;
  st.Settings.CtrlFlags5 = 0x0A;
  st.Settings.CtrlFlags6 = 0xC3;
  ControlStates controls = Volt(1);
  controls.SpeedIndex = 3;
  const ControlSettingsOutcome out = ApplyControlSettings(st, controls);
  EXPECT_EQ(out.Line, "> Control Setting(Hex): 90,02,0020,0400,84,04,90,00,0A,C3,0200,01AB.");
  EXPECT_EQ(ControlSettingLine(st), out.Line);
}

struct MergeCase {
  const char* name;
  uint8_t class_code;
  uint32_t chip_end;
  uint8_t edited;
  int64_t copied_at;  // -1: nothing copied
};

class EepromMerge : public ::testing::TestWithParam<MergeCase> {};

TEST_P(EepromMerge, CopiesTheFirstKiBIntoTheLastPageOnlyWhenItMay) {
  const MergeCase& c = GetParam();
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.ChipClassCode = c.class_code;
  st.ChipStartAddress = 0;
  st.ChipEndAddress = c.chip_end;
  st.EepEdited = c.edited;
  for (size_t i = 0; i < st.EepBuffer.size(); ++i) st.EepBuffer[i] = static_cast<uint8_t>(i * 13 + 1);
  const uint32_t erased_sum = SumBytes(st.MainBuffer.span(), 0, kMainBufferSize - 1);

  const ControlSettingsOutcome out = ApplyControlSettings(st, ControlStates{});

  EXPECT_EQ(st.EepEdited, 0);
  EXPECT_EQ(out.MainSumsStale, c.copied_at >= 0);
  if (c.copied_at < 0) {
    EXPECT_EQ(SumBytes(st.MainBuffer.span(), 0, kMainBufferSize - 1), erased_sum);
    return;
  }
  const auto at = static_cast<size_t>(c.copied_at);
  EXPECT_TRUE(std::equal(st.EepBuffer.data(), st.EepBuffer.data() + 1024, st.MainBuffer.data() + at));
  EXPECT_EQ(st.MainBuffer[at - 1], 0xFF);
  if (at + 1024 < kMainBufferSize) {
    EXPECT_EQ(st.MainBuffer[at + 1024], 0xFF);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Chips, EepromMerge,
    ::testing::Values(MergeCase{"Chip96KB", 0x00, 0x17FFF, 1, 0x17000},
                      MergeCase{"Class40StillMerges", 0x40, 0x7FFF, 1, 0x7000},
                      MergeCase{"BS32Merges", 0x10, 0xFFFF, 1, 0xF000},
                      MergeCase{"Class80NotCopied", 0x80, 0x17FFF, 1, -1},
                      MergeCase{"NotEdited", 0x00, 0x17FFF, 0, -1},
                      MergeCase{"LastPageOfTheImage", 0x00, 0x1FFFFF, 1, 0x1FF000},
                      MergeCase{"PagePastTheImage", 0x00, 0x200FFF, 1, -1},
                      MergeCase{"NoChipRange", 0x00, 0xFFFFFFFF, 1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClockItemForSetting, IsTheLoadRuleNotTheInverseAndStaysInTheList) {
  struct Case {
    uint8_t class_code, sclk;
    int item;
  };
  const Case cases[] = {
      {0x00, 0, 0},  {0x00, 1, 1},   {0x00, 3, 2},   {0x00, 7, 3},  {0x00, 15, 4}, {0x00, 31, 5},
      {0x00, 63, 6}, {0x00, 20, 7},  {0x00, 10, 7},  {0x3F, 63, 6}, {0x10, 30, 7}, {0x80, 25, 0},
      {0x80, 30, 1}, {0x40, 40, 3},  {0x90, 60, 7},  {0x90, 20, 0}, {0x80, 5, 0},  {0x80, 0, 0},
      {0x80, 255, 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClockItemForSetting(c.class_code, c.sclk), c.item)
        << "class " << int(c.class_code) << " setting " << int(c.sclk);
  }
}

TEST(ControlsFromProject, ReadsVoltageBootAndTheBoxesOfTheClass) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.Settings.CtrlFlags = 0x84;
  st.Settings.CtrlFlags2 = 0x50;
  st.Settings.CtrlFlags3 = 0x7F;
  st.Settings.CtrlFlags4 = 0x20;
  st.Settings.SclkSetting = 20;

  st.ChipClassCode = 0x00;
  ProjectControls p = ControlsFromProject(st);
  EXPECT_EQ(p.SpeedItem, 7);
  EXPECT_EQ(p.VoltageItem, 1);
  EXPECT_EQ(p.EraseEep, true);
  EXPECT_EQ(p.EraseInfo, false);
  EXPECT_EQ(p.WriteEep, true);
  EXPECT_FALSE(p.WriteInfo);
  EXPECT_TRUE(p.FlashBoot);

  st.ChipClassCode = 0x12;
  st.Settings.CtrlFlags3 = 0x80;
  p = ControlsFromProject(st);
  EXPECT_FALSE(p.EraseEep.has_value());
  EXPECT_FALSE(p.EraseInfo.has_value());
  EXPECT_FALSE(p.WriteEep.has_value());
  EXPECT_TRUE(p.WriteInfo);
  EXPECT_FALSE(p.FlashBoot);
}

// What a saved project stores of the boxes comes back on load, for every
// class, so a loaded project runs the EEPROM steps it was saved with.
TEST(ControlsFromProject, GivesBackTheBoxesApplyStored) {
  for (uint8_t class_code : {0x00, 0x10, 0x12, 0x40, 0x80, 0x82, 0x90}) {
    for (int bits = 0; bits < 16; ++bits) {
      testing::FakeStation fs;
      fs.st.ChipClassCode = class_code;
      ControlStates c = Boxes(bits & 1, bits & 2, bits & 4, bits & 8);
      c.VoltageIndex = bits & 1;
      c.FlashBoot = bits & 2;
      ApplyControlSettings(fs.st, c);
      const ProjectControls p = ControlsFromProject(fs.st);
      SCOPED_TRACE(::testing::Message() << "class " << int(class_code) << " boxes " << bits);
      EXPECT_EQ(p.WriteInfo, c.WriteInfo);
      EXPECT_EQ(p.VoltageItem, c.VoltageIndex);
      EXPECT_EQ(p.FlashBoot, c.FlashBoot);
      if (IsBS32Class(class_code)) continue;
      EXPECT_EQ(p.EraseEep, c.EraseEep);
      EXPECT_EQ(p.EraseInfo, c.EraseInfo);
      EXPECT_EQ(p.WriteEep, c.WriteEep);
    }
  }
}

}  // namespace
}  // namespace zek
