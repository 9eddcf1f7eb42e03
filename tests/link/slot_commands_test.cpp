#include "station/link/slot_commands.h"

#include <gtest/gtest.h>

#include "station/link/operation_states.h"
#include "station/link/operation_steps.h"
#include "tests/support/fake_views.h"
#include "tests/support/sent_commands.h"

namespace zek {
namespace {

using testing::SentCodes;

constexpr char kNoUnit[] = "> 10:15:02 Please connect the device first!";

// Four slots in use: units on 0, 1 (busy with a program step) and 2; 3 is
// empty; 4 answered but lies beyond the slots in use.
struct SlotFixture : ::testing::Test {
  SlotFixture() {
    for (auto& port : fs.ports) port.open = true;
    st.PortSlotCount = 4;
    for (int slot : {0, 1, 2, 4}) st.PortConnected[slot] = 1;
    st.PortBusy[1] = 1;
    st.PortState[1] = kStateProgram;
    for (int slot = 0; slot < kPortSlots; ++slot) {
      st.PortRxLen[slot] = 7;
      st.PortAutoSeq[slot] = 1;
    }
    st.FlashSizeKB = 16;
  }
  void ExpectUntouched(int slot) {
    EXPECT_TRUE(fs.ports[slot].sent.empty()) << "slot " << slot;
    EXPECT_EQ(st.PortRxLen[slot], 7) << "slot " << slot;
    EXPECT_EQ(st.PortAutoSeq[slot], 1) << "slot " << slot;
  }
  testing::FakeStation fs;
  StationState& st = fs.st;
};

TEST_F(SlotFixture, EligibleIsInUseConnectedAndIdle) {
  const bool expected[kPortSlots] = {true, false, true, false, false};
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(SlotEligible(st, slot), expected[slot]) << slot;
  EXPECT_FALSE(SlotEligible(st, -1));
  EXPECT_FALSE(SlotEligible(st, kPortSlots));
}

TEST_F(SlotFixture, CommandStartsTheIdleConnectedSlotsInOrder) {
  st.TimeGauge = 0;
  const SlotCommand command{StartVerifyMain, 1, "Chip %d : checking......"};
  EXPECT_EQ(StartOnEligibleSlots(st, command), 2);
  for (int slot : {0, 2}) {
    EXPECT_EQ(SentCodes(fs.ports[slot].sent), (std::vector<int>{0x9355})) << slot;
    EXPECT_EQ(st.PortAutoSeq[slot], 0);
    EXPECT_EQ(st.PortState[slot], kStateVerifyMain);
    EXPECT_EQ(st.PortBusy[slot], 1);
  }
  // The running step on slot 1 is left alone.
  for (int slot : {1, 3, 4}) ExpectUntouched(slot);
  EXPECT_EQ(st.PortState[1], kStateProgram);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{
                               "> 10:15:02 Chip 1 : checking......",
                               "> 10:15:02 C1: Do Chip data verification......",
                               "> 10:15:02 Chip 3 : checking......",
                               "> 10:15:02 C3: Do Chip data verification......",
                           }));
}

TEST_F(SlotFixture, NoEligibleSlotSaysSoOnceExceptForTheDownload) {
  st.PortBusy[0] = st.PortBusy[2] = 1;
  EXPECT_EQ(StartOnEligibleSlots(st, SlotCommand{StartErase}), 0);
  EXPECT_EQ(StartAutoSequence(st), 0);
  EXPECT_EQ(StartDownloadOnEligibleSlots(st), 0);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{kNoUnit, kNoUnit}));
  for (int slot = 0; slot < kPortSlots; ++slot) ExpectUntouched(slot);
}

TEST_F(SlotFixture, AutoSequenceMarksTheSlotsAndKeepsPendingBytes) {
  st.PortAutoSeq[0] = st.PortAutoSeq[2] = 0;
  EXPECT_EQ(StartAutoSequence(st), 2);
  for (int slot : {0, 2}) {
    EXPECT_EQ(st.PortAutoSeq[slot], 1);
    EXPECT_EQ(st.PortRxLen[slot], 7);
    EXPECT_EQ(SentCodes(fs.ports[slot].sent), (std::vector<int>{0x9305}));
  }
  EXPECT_EQ(fs.memo.lines[0], "> 10:15:02 Chip 1 : Start Auto-Programming, do chip blank checking......");
  EXPECT_EQ(fs.memo.lines[1], "> 10:15:02 C1: Do Chip blank checking......");
  EXPECT_EQ(fs.memo.lines[2], "> 10:15:02 Chip 3 : Start Auto-Programming, do chip blank checking......");
}

TEST_F(SlotFixture, DownloadStartsEveryEligibleSlotWithItsConfigurationImage) {
  EXPECT_EQ(StartDownloadOnEligibleSlots(st), 2);
  for (int slot : {0, 2}) {
    EXPECT_EQ(SentCodes(fs.ports[slot].sent), (std::vector<int>{0x53}));
    EXPECT_EQ(st.PortState[slot], kStateDownloadStart);
    EXPECT_EQ(st.PortRxLen[slot], 0);
    EXPECT_EQ(st.PortAutoSeq[slot], 1);  // the download leaves it
  }
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 Programmer 1 : Start to download data......",
                                                      "> 10:15:02 Programmer 3 : Start to download data......"}));
}

struct ReadCase {
  const char* name;
  void (*start)(StationState&, int);
  uint8_t state;
  int code;
  const char* line;
};

class ChipDataRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ChipDataRead, SetsItsStateLineTimedProgressAndSubCommand) {
  const ReadCase& c = GetParam();
  testing::FakeStation fs;
  fs.ports[3].open = true;
  c.start(fs.st, 3);
  EXPECT_EQ(fs.st.PortState[3], c.state);
  EXPECT_EQ(fs.st.PortBusy[3], 1);
  EXPECT_EQ(fs.st.PortTimeout[3], 200);
  EXPECT_EQ(fs.gauges[3].max, 200);
  EXPECT_EQ(SentCodes(fs.ports[3].sent), (std::vector<int>{c.code}));
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{std::string("> 10:15:02 ") + c.line}));
}

INSTANTIATE_TEST_SUITE_P(
    Reads, ChipDataRead,
    ::testing::Values(ReadCase{"ChipID", StartReadChipID, 35, 0x9336, "Chip 4 : Read Chip ID data......"},
                      ReadCase{"ChipInfo", StartReadChipInfo, 37, 0x9333, "Chip 4 : Read Chip Info Memory......"},
                      ReadCase{"ChipOption", StartReadChipOption, 39, 0x9335,
                               "Chip 4 : Read Chip Option Data......"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SlotFixture, ReadBackNeedsUnitOneConnectedAndIdle) {
  EXPECT_EQ(ReadBackRefusal(st), "");
  st.PortBusy[0] = 1;
  EXPECT_EQ(ReadBackRefusal(st), "Programmer 1 is busy, please wait!");
  st.PortConnected[0] = 0;
  EXPECT_EQ(ReadBackRefusal(st), "Please connect the device first!");
}

TEST_F(SlotFixture, ReadBackOfMainMemoryUsesSlotZeroOnly) {
  StartReadMainBack(st);
  EXPECT_EQ(SentCodes(fs.ports[0].sent), (std::vector<int>{0x9B}));
  EXPECT_EQ(testing::CommandParams(testing::SentPackets(fs.ports[0].sent), 0x9B), (std::vector<int>{0}));
  EXPECT_EQ(st.PortState[0], kStateReadOut);
  EXPECT_EQ(st.PortRxLen[0], 0);
  EXPECT_EQ(st.PortAutoSeq[0], 0);
  EXPECT_EQ(fs.gauges[0].max, 16);
  for (int slot : {2, 4}) ExpectUntouched(slot);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"", "> 10:15:02 Chip 1 : Read chip all memory......"}));
}

TEST_F(SlotFixture, ReadBackOfEepromSendsAfterItsLines) {
  BeginReadEepBack(st);
  EXPECT_EQ(st.PortState[0], kStateReadEEP);
  EXPECT_TRUE(fs.ports[0].sent.empty());
  SendReadEepBack(st);
  EXPECT_EQ(SentCodes(fs.ports[0].sent), (std::vector<int>{0x9C}));
  EXPECT_EQ(st.PortTimeout[0], 300);
  EXPECT_EQ(st.PortAutoSeq[0], 0);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"", "> 10:15:02 Chip 1 : Read Chip EEP Data......"}));
}

TEST_F(SlotFixture, ResetGoesToEveryConnectedSlotInUseBusyOrNot) {
  ResetConnectedUnits(st);
  for (int slot : {0, 1, 2}) EXPECT_EQ(SentCodes(fs.ports[slot].sent), (std::vector<int>{0x8A})) << slot;
  for (int slot : {3, 4}) EXPECT_TRUE(fs.ports[slot].sent.empty());
  EXPECT_EQ(st.PortState[1], kStateProgram);
  EXPECT_EQ(st.PortBusy[1], 1);
  EXPECT_EQ(st.PortState[0], kStateIdle);
  EXPECT_TRUE(fs.memo.lines.empty());
}

}  // namespace
}  // namespace zek
