// Read-back of main memory and EEPROM from a simulated unit's chip.
#include "tests/link_sim/sim_fixture.h"

namespace zek::linksim {
namespace {

class RecordingReadBack : public ReadBackView {
 public:
  void ShowReadMainData() override { ++main_shown; }
  void ShowReadEepData() override { ++eep_shown; }
  int main_shown = 0, eep_shown = 0;
};

class ReadBack : public SimFixture {
 protected:
  ReadBack() { fs.st.Views.ReadBack = &shown; }
  RecordingReadBack shown;
};

struct ReadCase {
  const char* name;
  uint16_t flash_kb;
  uint32_t start;
};

class ReadMain : public ReadBack, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadMain, FillsTheReadBufferFromTheChip) {
  const ReadCase& c = GetParam();
  SetChip(c.flash_kb, c.start, 0);
  sim::SimUnit& unit = AttachWith(0, ChipKind::Programmed);
  StartReadMain(0);
  link.Run();
  EXPECT_EQ(link.Params(0, 0x9B), BlockIndexes());
  EXPECT_EQ(SlotLines(0), (std::vector<std::string>{"Data has been read out!"}));
  ExpectEnded(0, false);
  EXPECT_EQ(shown.main_shown, 1);
  // Whole 4 KiB blocks come back: past the flash size the chip reads erased.
  const size_t read = Blocks() * 4096u;
  EXPECT_EQ(Head(fs.st.ReadMainBuffer.span().subspan(c.start), read), Head(unit.Chip().Flash(), read));
  EXPECT_EQ(Head(fs.st.ReadMainBuffer.span().subspan(c.start), Image().size()), Image());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadMain,
                         ::testing::Values(ReadCase{"Kb96", 96, 0}, ReadCase{"Kb30", 30, 0},
                                           ReadCase{"ImageAboveAddressZero", 64, 0x20000}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every byte of the chip needs an escape: each reply is an 8 KiB frame.
TEST_F(ReadBack, ChipDataThatIsAllDelimitersAndEscapesComesBackWhole) {
  SetChip(16, 0, 0);
  Bytes worst(16 * 1024);
  for (size_t i = 0; i < worst.size(); ++i) worst[i] = (i & 1) ? 0xDB : 0xC0;
  sim::SimUnit& unit = AttachWith(0, ChipKind::Blank);
  unit.Chip().ProgramFlash(0, worst, worst.size());
  StartReadMain(0);
  link.Run();
  EXPECT_EQ(Head(fs.st.ReadMainBuffer.span(), worst.size()), worst);
  ExpectEnded(0, false);
}

TEST_F(ReadBack, EepromComesBackAsOneBlock) {
  SetChip(30, 0, 4096);
  sim::SimUnit& unit = AttachWith(0, ChipKind::Programmed);
  StartReadEep(0);
  link.Run();
  EXPECT_EQ(link.Codes(0), (std::vector<int>{0x9C}));
  EXPECT_EQ(Head(fs.st.ReadEepBuffer.span(), 4096), Head(unit.Chip().Eeprom(), 4096));
  EXPECT_EQ(Head(fs.st.ReadEepBuffer.span(), 4096), EepImage());
  EXPECT_EQ(SlotLines(0), (std::vector<std::string>{"Read Out EEP Data Success!"}));
  EXPECT_EQ(shown.eep_shown, 1);
  ExpectEnded(0, false);
}

struct ProtectedCase {
  const char* name;
  bool eeprom;
};

class ReadProtected : public ReadBack, public ::testing::WithParamInterface<ProtectedCase> {};

TEST_P(ReadProtected, EndsRedAndLeavesTheBuffersAlone) {
  AttachWith(0, ChipKind::Programmed).Chip().Protect();
  fs.st.ReadMainBuffer.span()[0] = 0x11;
  fs.st.ReadEepBuffer.span()[0] = 0x22;
  if (GetParam().eeprom) {
    StartReadEep(0);
  } else {
    StartReadMain(0);
  }
  link.Run();
  EXPECT_EQ(SlotLines(0), (std::vector<std::string>{"Chip read protected!"}));
  EXPECT_EQ(fs.st.ReadMainBuffer[0], 0x11);
  EXPECT_EQ(fs.st.ReadEepBuffer[0], 0x22);
  EXPECT_EQ(shown.main_shown + shown.eep_shown, 0);
  ExpectEnded(0, true);
}

INSTANTIATE_TEST_SUITE_P(Areas, ReadProtected,
                         ::testing::Values(ProtectedCase{"MainMemory", false}, ProtectedCase{"Eeprom", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::linksim
