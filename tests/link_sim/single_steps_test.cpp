// Each step on its own against a simulated unit, outside the automatic
// sequence: the lines it leaves, the commands it sends and what the chip
// holds afterwards.
#include "tests/link_sim/sim_fixture.h"

#include <functional>

namespace zek::linksim {
namespace {

// Every program block of the image, 0x95 each.
constexpr int kAllBlocks = -1;

using Starter = std::function<void(SimFixture&, int)>;

Starter Step(void (*start)(StationState&, int)) {
  return [start](SimFixture& f, int port) { start(f.Station(), port); };
}

struct StepCase {
  const char* name;
  Starter start;
  ChipKind chip;
  bool eep_steps;
  std::vector<int> codes;  // kAllBlocks stands for every program block
  std::vector<std::string> lines;  // "" stands for the verify's success line
  bool failed;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class SingleStep : public SimFixture, public ::testing::WithParamInterface<StepCase> {
 protected:
  std::vector<int> Expand(const std::vector<int>& codes) const {
    std::vector<int> out;
    for (int code : codes) out.insert(out.end(), code == kAllBlocks ? Blocks() : 1, code == kAllBlocks ? 0x95 : code);
    return out;
  }
};

TEST_P(SingleStep, EndsAfterItsOwnReply) {
  const StepCase& c = GetParam();
  SetChip(30, 0, c.eep_steps ? 512 : 0);
  fs.st.EepStepsEnabled = c.eep_steps;
  if (!c.eep_steps) fs.st.EepSize = 512;  // the EEPROM steps of their own still have an area
  Resum();
  AttachWith(5, c.chip);
  c.start(*this, 5);
  link.Run();
  EXPECT_EQ(link.Codes(5), Expand(c.codes));
  std::vector<std::string> lines = c.lines;
  for (auto& l : lines)
    if (l.empty()) l = VerifiedLine();
  EXPECT_EQ(SlotLines(5), lines);
  ExpectEnded(5, c.failed);
  EXPECT_EQ(fs.st.OnLineCounter, 0);  // only the automatic sequence counts
}

const char* const kBlankStart = "Do Chip blank checking......";
const char* const kVerifyStart = "Do Chip data verification......";

INSTANTIATE_TEST_SUITE_P(
    SimulatedUnitSteps, SingleStep,
    ::testing::Values(
        StepCase{"BlankCheckOnABlankChip", Step(StartBlankCheck), ChipKind::Blank, false, {kBlank},
                 {kBlankStart, "Current Chip is blank!"}, false},
        StepCase{"BlankCheckOnAUsedChipFailsWithoutResultText", Step(StartBlankCheck), ChipKind::Used, false,
                 {kBlank}, {kBlankStart, "Chip is not blank!"}, true},
        StepCase{"BlankCheckOnAProtectedChip", Step(StartBlankCheck), ChipKind::Protected, false, {kBlank},
                 {kBlankStart, "Chip is Protected!"}, true},
        StepCase{"EraseOfAUsedChip", Step(StartErase), ChipKind::Used, false, {kErase},
                 {"Do Chip Erasing......", "Chip has been erased!"}, false},
        StepCase{"Program", Step(StartProgram), ChipKind::Blank, false, {kAllBlocks},
                 {kStartedProgramming, "Programming Success!"}, false},
        StepCase{"ProgramGoesOnToTheEeprom", Step(StartProgram), ChipKind::Blank, true, {kAllBlocks, 0x96},
                 {kStartedProgramming, "Write chip OTP Data ......", "EEP Data write success!"}, false},
        StepCase{"ProgramOverUnerasedDataFailsAtTheFirstBlock", Step(StartProgram), ChipKind::Used, false,
                 {0x95}, {kStartedProgramming, "Data verify error!"}, true},
        StepCase{"ProgramOnAProtectedChip", Step(StartProgram), ChipKind::Protected, false, {0x95},
                 {kStartedProgramming, "Chip read protected!"}, true},
        StepCase{"WriteEeprom", Step(StartWriteOTP), ChipKind::Blank, false, {0x96},
                 {"Write chip OTP Data ......", "EEP Data write success!"}, false},
        StepCase{"VerifyAProgrammedChip", Step(StartVerifyMain), ChipKind::Programmed, false, {kVerify},
                 {kVerifyStart, ""}, false},
        StepCase{"VerifyAProtectedChip", Step(StartVerifyMain), ChipKind::Protected, false, {kVerify},
                 {kVerifyStart, "Chip read protected!"}, true},
        StepCase{"VerifyEepromOfAProgrammedChip", Step(StartVerifyEEP), ChipKind::Programmed, false,
                 {kVerifyEep}, {"Do Chip EEP Data verification......", "EEP Data verify success!"}, false},
        StepCase{"VerifyEepromOfABlankChip", Step(StartVerifyEEP), ChipKind::Blank, false, {kVerifyEep},
                 {"Do Chip EEP Data verification......", "Chip checksum error!"}, true},
        StepCase{"Protect", Step(StartProtect), ChipKind::Programmed, false, {kProtect, 0x86},
                 {"Write chip protected data......", "Chip Protected data write success!"}, false},
        StepCase{"WriteOption", Step(StartWriteOption), ChipKind::Programmed, false, {kProtect, 0x86},
                 {"Write Chip Option Data......", "Chip Protected data write success!"}, false},
        StepCase{"ReadChipIdLogsNothingMore", [](SimFixture& f, int port) { f.StartChipIdRead(port); },
                 ChipKind::Blank, false, {kChipId}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimFixture, ProgramLeavesTheImageInTheChipByteForByte) {
  SetChip(96, 0x10000, 0);
  sim::SimUnit& unit = AttachWith(8, ChipKind::Blank);
  StartProgram(fs.st, 8);
  link.Run();
  EXPECT_EQ(link.Params(8, 0x95), BlockIndexes());
  EXPECT_EQ(Head(unit.Chip().Flash(), Image().size()), Image());
  // Nothing past the chip's flash size was written.
  EXPECT_EQ(unit.Chip().Flash()[96 * 1024], 0xFF);
}

TEST_F(SimFixture, TheLastBlockOfA30KbChipIsCutAtItsEnd) {
  sim::SimUnit& unit = AttachWith(0, ChipKind::Blank);
  StartProgram(fs.st, 0);
  link.Run();
  EXPECT_EQ(link.Params(0, 0x95).back(), 28);
  EXPECT_EQ(Head(unit.Chip().Flash(), 30 * 1024), Image());
  EXPECT_EQ(Head(unit.Chip().Flash().subspan(30 * 1024), 2048), Bytes(2048, 0xFF));
}

TEST_F(SimFixture, EraseBlanksTheChipAndLiftsItsProtection) {
  sim::SimUnit& unit = AttachWith(2, ChipKind::Programmed);
  unit.Chip().Protect();
  StartErase(fs.st, 2);
  link.Run();
  EXPECT_TRUE(unit.Chip().IsBlank(sim::SimChip::kFlashCapacity));
  EXPECT_FALSE(unit.Chip().IsProtected());
}

TEST_F(SimFixture, EepromWriteLeavesTheEepromImage) {
  SetChip(30, 0, 2048);
  sim::SimUnit& unit = AttachWith(1, ChipKind::Blank);
  StartWriteOTP(fs.st, 1);
  link.Run();
  EXPECT_EQ(Head(unit.Chip().Eeprom(), 2048), EepImage());
  EXPECT_EQ(unit.Chip().Eeprom()[2048], 0xFF);  // clipped to the chip's EEPROM size
}

TEST_F(SimFixture, ProtectLocksTheChipAndResetsTheUnit) {
  sim::SimUnit& unit = AttachWith(4, ChipKind::Programmed);
  StartProtect(fs.st, 4);
  link.Run();
  EXPECT_TRUE(unit.Chip().IsProtected());
  std::vector<Bytes> sent = link.Commands(4);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].size(), 72u + 2);  // the settings alone
  EXPECT_EQ(Bytes(sent[1].begin(), sent[1].begin() + 10), (Bytes{0x86, 'R', 'E', 'S', 'T', 0xA8, 2, 0, 0, 0}));
  EXPECT_FALSE(unit.Offline());  // 0x86 is no off-line reset
  EXPECT_EQ(unit.DroppedFrames(), 0u);
}

TEST_F(SimFixture, OptionWriteStoresTheOptionImage) {
  sim::SimUnit& unit = AttachWith(7, ChipKind::Programmed);
  StartWriteOption(fs.st, 7);
  link.Run();
  EXPECT_EQ(Head(unit.Chip().Options(), kOptionBufferSize), Head(fs.st.OptionBuffer.span(), kOptionBufferSize));
  EXPECT_FALSE(unit.Chip().IsProtected());
  EXPECT_EQ(link.Codes(7), (std::vector<int>{kProtect, 0x86}));
}

TEST_F(SimFixture, VerifyOfABlankChipShowsBothSums) {
  sim::SimUnit& unit = AttachWith(9, ChipKind::Blank);
  StartVerifyMain(fs.st, 9);
  link.Run();
  sim::AreaSums chip = unit.Chip().FlashSums(30 * 1024);
  char buffer_line[80], chip_line[80];
  std::snprintf(buffer_line, sizeof buffer_line, "Current Buffer CheckSum is : ACC=0x%04X,CRC=0x%04X.",
                fs.st.MainAcc16, fs.st.MainCrc16);
  std::snprintf(chip_line, sizeof chip_line, "Read out Chip CheckSum is  : ACC=0x%04X,CRC=0x%04X.", chip.acc & 0xFFFF,
                chip.crc);
  EXPECT_EQ(chip.acc, 30u * 1024 * 0xFF);
  EXPECT_EQ(SlotLines(9), (std::vector<std::string>{kVerifyStart, buffer_line, chip_line, "Chip checksum error!"}));
  ExpectEnded(9, true);
}

}  // namespace
}  // namespace zek::linksim
