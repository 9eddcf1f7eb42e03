#include "station/data/chip_window_setup.h"

#include <gtest/gtest.h>

namespace zek {
namespace {

TEST(ChipWindowSetup, ClassRowsFirstMatchWins) {
  struct Case {
    uint8_t class_code;
    ChipSetupKind kind;
    int erase_left, speed;
    bool buttons;
  };
  const Case cases[] = {
      {0x00, ChipSetupKind::InfoBlock, 632, 0, false},   {0x0F, ChipSetupKind::InfoBlock, 632, 0, false},
      {0x10, ChipSetupKind::OptionBytes, 717, 0, true},  {0x12, ChipSetupKind::OptionBytes, 717, 0, true},
      {0x3F, ChipSetupKind::OptionBytes, 717, 0, true},  {0x40, ChipSetupKind::OptionMenus, 717, 3, true},
      {0x80, ChipSetupKind::OptionMenus, 717, 3, true},  {0x82, ChipSetupKind::OptionMenus, 717, 3, true},
      {0x90, ChipSetupKind::NvrParts, 717, 3, true},     {0xFF, ChipSetupKind::OptionMenus, 717, 3, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.class_code));
    const ChipSetupRow row = ChipSetupFor(c.class_code);
    EXPECT_EQ(row.Kind, c.kind);
    EXPECT_EQ(row.EraseLeft, c.erase_left);
    EXPECT_EQ(row.VerifyLeft, 888);
    EXPECT_EQ(row.AutoLeft, 502);
    EXPECT_EQ(row.SpeedIndex, c.speed);
    EXPECT_EQ(row.ChipButtonsShown, c.buttons);
  }
}

TEST(ChipWindowSetup, SizeLineByClassAndEep) {
  EXPECT_EQ(ChipSizeLine(0x90, 32, 0), "Chip Memory Size=32KB(30.5KB Flash,0.5K NVR,1KB EEP)");
  EXPECT_EQ(ChipSizeLine(0x90, 32, 1024), "Chip Memory Size=32KB(30.5KB Flash,0.5K NVR,1KB EEP)");
  EXPECT_EQ(ChipSizeLine(0x10, 128, 0), "Flash Size=128KB, No EEP Data.");
  EXPECT_EQ(ChipSizeLine(0x00, 96, 2048), "Flash Size=96KB, EEP Byte=2048B ");
}

}  // namespace
}  // namespace zek
