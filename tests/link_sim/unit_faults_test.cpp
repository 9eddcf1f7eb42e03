// A unit's faults end that slot's operation with the right message and
// leave a neighbouring slot, on its own healthy unit, untouched.
#include "tests/link_sim/sim_fixture.h"

namespace zek::linksim {
namespace {

using sim::FaultKind;
using sim::Step;

enum class Chain { Download, Auto, Program, WriteEeprom, VerifyEeprom, Protect, ReadMain, ChipId };

constexpr int kFaulty = 3;   // C4
constexpr int kHealthy = 1;  // C2, always on the automatic sequence

class FaultFixture : public SimFixture {
 protected:
  FaultFixture() { SetChip(30, 0, 256); }
  void Start(Chain chain, int port) {
    switch (chain) {
      case Chain::Download: return StartDownload(fs.st, port);
      case Chain::Auto: return StartAuto(port);
      case Chain::Program: return StartProgram(fs.st, port);
      case Chain::WriteEeprom: return StartWriteOTP(fs.st, port);
      case Chain::VerifyEeprom: return StartVerifyEEP(fs.st, port);
      case Chain::Protect: return StartProtect(fs.st, port);
      case Chain::ReadMain: return StartReadMain(port);
      case Chain::ChipId: return StartChipIdRead(port);
    }
  }
  // C4 on a unit with the fault, C2 beside it on a healthy unit; both run.
  void RunBeside(const sim::Fault& fault, Chain chain, ChipKind chip, bool eep_steps) {
    fs.st.EepStepsEnabled = eep_steps;
    AttachWith(kFaulty, chip).Faults().Add(fault);
    AttachWith(kHealthy, ChipKind::Used);
    Start(chain, kFaulty);
    StartAuto(kHealthy);
    link.Run();
  }
  void ExpectHealthySlotDone() {
    EXPECT_EQ(SlotLines(kHealthy), AutoLines(ChipKind::Used, fs.st.EepStepsEnabled));
    EXPECT_EQ(Head(link.Unit(kHealthy).Chip().Flash(), Image().size()), Image());
    ExpectEnded(kHealthy, false);
  }
};

sim::Fault Make(FaultKind kind, Step step, int block = -1, uint16_t value = 0) {
  sim::Fault f;
  f.kind = kind;
  f.step = step;
  f.block = block;
  f.value = value;
  return f;
}

struct FailureCase {
  const char* name;
  sim::Fault fault;
  Chain chain;
  ChipKind chip;
  bool eep_steps;
  size_t commands;  // what C4 sent, the failed step's command last
  std::string line;  // C4's last line
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class Failure : public FaultFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(Failure, EndsOnlyThatSlotRedWithItsMessage) {
  const FailureCase& c = GetParam();
  RunBeside(c.fault, c.chain, c.chip, c.eep_steps);
  EXPECT_EQ(link.Commands(kFaulty).size(), c.commands);
  ASSERT_FALSE(SlotLines(kFaulty).empty());
  EXPECT_EQ(SlotLines(kFaulty).back(), c.line);
  ExpectEnded(kFaulty, true);
  EXPECT_EQ(fs.st.DownloadsDone, 0);
  EXPECT_EQ(fs.st.OnLineCounter, 1);  // the healthy slot's chip only
  ExpectHealthySlotDone();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Failure,
    ::testing::Values(
        FailureCase{"WrongCheckOnTheConfigurationReply", Make(FaultKind::BadCheck, Step::Config), Chain::Download,
                    ChipKind::Blank, false, 1, "Packet checksum error!"},
        FailureCase{"PacketErrorAtTheSixthDownloadBlock", Make(FaultKind::Status, Step::DownloadMain, 20, 42),
                    Chain::Download, ChipKind::Blank, false, 7, "Data packet error"},
        FailureCase{"WrongCheckOnTheEepromDownload", Make(FaultKind::BadCheck, Step::DownloadEep),
                    Chain::Download, ChipKind::Blank, true, 10, "Packet checksum error!"},
        FailureCase{"OddStatusAtTheBlankCheck", Make(FaultKind::Status, Step::BlankCheck, -1, 0x41), Chain::Auto,
                    ChipKind::Blank, false, 1, "Operation error! Error Code = 0x41"},
        FailureCase{"LockedChipAtTheErase", Make(FaultKind::Status, Step::Erase, -1, 31), Chain::Auto,
                    ChipKind::Used, false, 2, "Chip has been locked!"},
        FailureCase{"WrongCheckOnTheThirdProgramBlock", Make(FaultKind::BadCheck, Step::Program, 8), Chain::Auto,
                    ChipKind::Blank, false, 4, "Packet checksum error!"},
        FailureCase{"FlashErrorAtTheThirdProgramBlock", Make(FaultKind::Status, Step::Program, 8, 44),
                    Chain::Program, ChipKind::Blank, false, 3, "Flash Memory Error!"},
        FailureCase{"UnknownStatusAtTheEepromWrite", Make(FaultKind::Status, Step::WriteEep, -1, 0x77),
                    Chain::Auto, ChipKind::Blank, true, 10, "Operation error! Error Code = 0x77"},
        FailureCase{"ChecksumErrorAtTheVerify", Make(FaultKind::Status, Step::VerifyMain, -1, 52), Chain::Auto,
                    ChipKind::Blank, false, 10, "Chip checksum error!"},
        FailureCase{"WrongCheckOnTheVerify", Make(FaultKind::BadCheck, Step::VerifyMain), Chain::Auto,
                    ChipKind::Protected, false, 11, "Packet checksum error!"},
        FailureCase{"ChecksumErrorAtTheEepromVerify", Make(FaultKind::Status, Step::VerifyEep, -1, 52),
                    Chain::VerifyEeprom, ChipKind::Programmed, false, 1, "Chip checksum error!"},
        FailureCase{"InterfaceErrorAtTheProtectSendsNoReset", Make(FaultKind::Status, Step::Protect, -1, 96),
                    Chain::Protect, ChipKind::Programmed, false, 1, "Interface Error!"},
        FailureCase{"ProtectedAtTheThirdReadBlock", Make(FaultKind::Status, Step::ReadMain, 8, 16),
                    Chain::ReadMain, ChipKind::Programmed, false, 3, "Chip read protected!"},
        FailureCase{"WrongCheckOnAReadBlock", Make(FaultKind::BadCheck, Step::ReadMain, 4), Chain::ReadMain,
                    ChipKind::Programmed, false, 2, "Packet checksum error!"}),
    [](const auto& info) { return std::string(info.param.name); });

// The verify's own checksum error shows both sums before its result.
TEST_F(FaultFixture, AVerifyChecksumErrorShowsBothSumsFirst) {
  RunBeside(Make(FaultKind::Status, Step::VerifyMain, -1, 52), Chain::Auto, ChipKind::Blank, false);
  const std::vector<std::string> lines = SlotLines(kFaulty);
  ASSERT_GE(lines.size(), 3u);
  // The chip holds the image, so its sums are the buffer's.
  char buffer_line[80], chip_line[80];
  std::snprintf(buffer_line, sizeof buffer_line, "Current Buffer CheckSum is : ACC=0x%04X,CRC=0x%04X.", fs.st.MainAcc16,
                fs.st.MainCrc16);
  std::snprintf(chip_line, sizeof chip_line, "Read out Chip CheckSum is  : ACC=0x%04X,CRC=0x%04X.", fs.st.MainAcc16,
                fs.st.MainCrc16);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{buffer_line, chip_line, "Chip checksum error!"}));
}

struct StallCase {
  const char* name;
  sim::Fault fault;
  Chain chain;
  ChipKind chip;
  uint8_t state;     // where C4 waits
  uint16_t timeout;  // what its timer has left to count down
  uint16_t block;
  const char* last_line;  // C4's last own line: its step's start text, or none
};

void PrintTo(const StallCase& c, std::ostream* os) { *os << c.name; }

class Stall : public FaultFixture, public ::testing::WithParamInterface<StallCase> {};

// No answer: the slot stays busy in its step, its time-out untouched since
// the last byte, for the caller's timer to end.
TEST_P(Stall, LeavesTheSlotBusyForItsTimer) {
  const StallCase& c = GetParam();
  RunBeside(c.fault, c.chain, c.chip, false);
  EXPECT_EQ(fs.st.PortState[kFaulty], c.state);
  EXPECT_EQ(fs.st.PortBusy[kFaulty], 1);
  EXPECT_EQ(fs.st.PortTimeout[kFaulty], c.timeout);
  EXPECT_EQ(fs.st.PortBlockIndex[kFaulty], c.block);
  EXPECT_EQ(fs.gauges[kFaulty].color, kGaugeBlue);
  EXPECT_EQ(link.Unit(kFaulty).HungUp(), c.fault.kind == FaultKind::HangUp);
  const std::vector<std::string> lines = SlotLines(kFaulty);
  if (*c.last_line == '\0') {
    EXPECT_TRUE(lines.empty());
  } else {
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.last_line);
  }
  ExpectHealthySlotDone();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Stall,
    ::testing::Values(
        StallCase{"SilentAtTheConfigurationImage", Make(FaultKind::Silence, Step::Config), Chain::Download,
                  ChipKind::Blank, kStateDownloadStart, 500, 0, ""},
        StallCase{"SilentAtTheFourthProgramBlock", Make(FaultKind::Silence, Step::Program, 12), Chain::Auto,
                  ChipKind::Blank, kStateProgram, 500, 12, kStartedProgramming},
        StallCase{"SilentAtTheVerify", Make(FaultKind::Silence, Step::VerifyMain), Chain::Auto, ChipKind::Used,
                  kStateVerifyMain, 500, 0, "Do Chip data verification......"},
        StallCase{"SilentAtTheEepromWrite", Make(FaultKind::Silence, Step::WriteEep), Chain::WriteEeprom,
                  ChipKind::Blank, kStateWriteOTP, 300, 0, "Write chip OTP Data ......"},
        StallCase{"SilentAtTheChipIdRead", Make(FaultKind::Silence, Step::ChipId), Chain::ChipId, ChipKind::Blank,
                  kStateReadChipID, 200, 0, ""},
        StallCase{"HungUpAtTheSecondReadBlock", Make(FaultKind::HangUp, Step::ReadMain, 4), Chain::ReadMain,
                  ChipKind::Programmed, kStateReadOut, 500, 4, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct GarbageCase {
  const char* name;
  sim::Fault fault;
  Chain chain;
  ChipKind chip;
  bool eep_steps;
};

void PrintTo(const GarbageCase& c, std::ostream* os) { *os << c.name; }

class Garbage : public FaultFixture, public ::testing::WithParamInterface<GarbageCase> {};

// Bytes between frames are no frame: the chain runs as on a clean line.
TEST_P(Garbage, BetweenFramesChangesNothing) {
  const GarbageCase& c = GetParam();
  fs.st.EepStepsEnabled = c.eep_steps;
  AttachWith(kFaulty, c.chip).Faults().Add(c.fault);
  AttachWith(kHealthy, c.chip);
  Start(c.chain, kFaulty);
  Start(c.chain, kHealthy);
  link.Run();
  EXPECT_EQ(link.Codes(kFaulty), link.Codes(kHealthy));
  EXPECT_EQ(SlotLines(kFaulty), SlotLines(kHealthy));
  EXPECT_FALSE(SlotLines(kFaulty).empty());
  EXPECT_EQ(Head(link.Unit(kFaulty).Chip().Flash(), Image().size()),
            Head(link.Unit(kHealthy).Chip().Flash(), Image().size()));
  ExpectEnded(kFaulty, false);
  ExpectEnded(kHealthy, false);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Garbage,
    ::testing::Values(GarbageCase{"BeforeEveryAnswerOfTheSequence", Make(FaultKind::Garbage, Step::Any, -1, 40),
                                  Chain::Auto, ChipKind::Used, true},
                      GarbageCase{"OneByteBeforeEveryDownloadAnswer", Make(FaultKind::Garbage, Step::Any, -1, 1),
                                  Chain::Download, ChipKind::Blank, true},
                      GarbageCase{"LongRunsBeforeReadBlocks", Make(FaultKind::Garbage, Step::ReadMain, -1, 3000),
                                  Chain::ReadMain, ChipKind::Programmed, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::linksim
