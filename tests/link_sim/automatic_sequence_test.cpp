// The automatic sequence against a simulated unit, on blank, used and
// protected chips: the chip ends up holding the image byte for byte.
#include "tests/link_sim/sim_fixture.h"

namespace zek::linksim {
namespace {

struct AutoCase {
  const char* name;
  ChipKind chip;
  uint16_t flash_kb;
  uint16_t eep_size;  // 0: no EEPROM steps
  uint8_t ok_status;
};

class AutomaticSequence : public SimFixture, public ::testing::WithParamInterface<AutoCase> {};

TEST_P(AutomaticSequence, ProgramsAndVerifiesTheChip) {
  const AutoCase& c = GetParam();
  SetChip(c.flash_kb, 0, c.eep_size);
  const bool eep = c.eep_size > 0;
  fs.st.EepStepsEnabled = eep;
  sim::SimUnit& unit = AttachWith(6, c.chip, c.ok_status);
  StartAuto(6);
  link.Run();

  EXPECT_EQ(link.Codes(6), AutoCodes(c.chip, eep));
  EXPECT_EQ(link.Params(6, 0x95), BlockIndexes());
  EXPECT_EQ(SlotLines(6), AutoLines(c.chip, eep));
  ExpectEnded(6, false);
  EXPECT_EQ(fs.st.OnLineCounter, 1);
  EXPECT_EQ(fs.status.panels[3], "OnLine Counter: 1");
  EXPECT_EQ(Head(unit.Chip().Flash(), Image().size()), Image());
  if (eep) {
    EXPECT_EQ(Head(unit.Chip().Eeprom(), c.eep_size), EepImage());
  }
  EXPECT_FALSE(unit.Chip().IsProtected());
}

INSTANTIATE_TEST_SUITE_P(
    Chips, AutomaticSequence,
    ::testing::Values(AutoCase{"BlankChipSkipsTheErase", ChipKind::Blank, 30, 0, 6},
                      AutoCase{"UsedChipIsErasedFirst", ChipKind::Used, 30, 0, 6},
                      AutoCase{"ProtectedChipIsErasedFirst", ChipKind::Protected, 30, 0, 6},
                      AutoCase{"Kb96WithEeprom", ChipKind::Used, 96, 1024, 6},
                      AutoCase{"PlainSuccessIsZero", ChipKind::Protected, 96, 256, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimFixture, EachVerifiedChipCountsOnce) {
  sim::SimUnit& unit = AttachWith(0, ChipKind::Blank);
  for (int chip = 1; chip <= 3; ++chip) {
    unit.Chip() = sim::SimChip(static_cast<uint32_t>(100 + chip));
    if (chip == 2) unit.Chip().FillUsed();
    StartAuto(0);
    link.Run();
    EXPECT_EQ(fs.st.OnLineCounter, chip);
  }
  EXPECT_EQ(fs.status.panels[3], "OnLine Counter: 3");
}

// An image that disagrees with its own sums: the chip holds the image but
// its sums differ from the descriptor's, and the sequence ends red.
TEST_F(SimFixture, AnImageWhoseSumsAreStaleFailsItsVerify) {
  sim::SimUnit& unit = AttachWith(3, ChipKind::Blank);
  const uint16_t stale_acc = fs.st.MainAcc16, stale_crc = fs.st.MainCrc16;
  fs.st.MainBuffer[100] ^= 0x01;
  StartAuto(3);
  link.Run();
  const std::vector<std::string> lines = SlotLines(3);
  ASSERT_GE(lines.size(), 3u);
  std::vector<std::string> tail(lines.end() - 3, lines.end());
  Resum();  // the chip's true sums
  char buffer_line[80], chip_line[80];
  std::snprintf(buffer_line, sizeof buffer_line, "Current Buffer CheckSum is : ACC=0x%04X,CRC=0x%04X.", stale_acc,
                stale_crc);
  std::snprintf(chip_line, sizeof chip_line, "Read out Chip CheckSum is  : ACC=0x%04X,CRC=0x%04X.", fs.st.MainAcc16,
                fs.st.MainCrc16);
  EXPECT_EQ(tail, (std::vector<std::string>{buffer_line, chip_line, "Chip checksum error!"}));
  EXPECT_EQ(Head(unit.Chip().Flash(), Image().size()), Image());
  ExpectEnded(3, true);
  EXPECT_EQ(fs.st.OnLineCounter, 0);
}

}  // namespace
}  // namespace zek::linksim
