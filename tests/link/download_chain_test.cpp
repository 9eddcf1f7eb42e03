#include "station/link/start_download.h"

#include <gtest/gtest.h>

#include <random>

#include "station/link/operation_states.h"
#include "station/link/slot_commands.h"
#include "station/link/timeouts.h"
#include "tests/support/reply_builder.h"
#include "tests/support/sent_commands.h"

namespace zek {
namespace {

using testing::Bytes;

struct DownloadFixture : ::testing::Test {
  DownloadFixture() {
    fs.st.FlashSizeKB = 96;
    fs.st.ChipStartAddress = 0;
    for (auto& port : fs.ports) port.open = true;
    for (uint32_t i = 0; i < 0x20000; ++i) fs.st.MainBuffer[i] = static_cast<uint8_t>(i ^ (i >> 10));
  }
  std::vector<int> ExpectedIndexes(int blocks) {
    std::vector<int> v;
    for (int i = 0; i < blocks; ++i) v.push_back(4 * i);
    return v;
  }
  testing::FakeStation fs;
  testing::UnitLink link{fs};
  std::mt19937 rng{7};
};

struct DownloadCase {
  const char* name;
  uint16_t flash_kb;
  bool eep_steps;
  int blocks;
};

class DownloadChain : public DownloadFixture, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(DownloadChain, SendsImageBlocksAndEndsWithTheReset) {
  const DownloadCase& c = GetParam();
  fs.st.FlashSizeKB = c.flash_kb;
  fs.st.EepStepsEnabled = c.eep_steps;
  fs.st.PortRxLen[2] = 5;  // stale bytes are dropped
  fs.st.TimeGauge = 1;
  StartDownload(fs.st, 2);
  EXPECT_EQ(fs.st.TimeGauge, 0);
  EXPECT_EQ(fs.st.PortState[2], kStateDownloadStart);
  EXPECT_EQ(fs.st.PortBusy[2], 1);
  EXPECT_EQ(fs.st.PortRxLen[2], 0);
  link.Run(testing::HealthyUnit, &rng);

  std::vector<int> codes = {0x53};
  codes.insert(codes.end(), c.blocks, 0x55);
  if (c.eep_steps) codes.push_back(0x5A);
  codes.push_back(0x8A);
  EXPECT_EQ(link.Codes(2), codes);
  EXPECT_EQ(link.Params(2, 0x55), ExpectedIndexes(c.blocks));
  std::vector<std::string> lines = {"> 10:15:02 Programmer 3 : Start to download data......",
                                    "> 10:15:02 C3: Download Main Memory Data ......"};
  if (c.eep_steps) lines.push_back("> 10:15:02 C3: Download EEP Data ......");
  lines.push_back("> 10:15:02 C3: Download Success!");
  EXPECT_EQ(fs.memo.lines, lines);
  EXPECT_EQ(fs.st.DownloadsDone, 1);
  EXPECT_EQ(fs.st.PortState[2], kStateIdle);
  EXPECT_EQ(fs.st.PortBusy[2], 0);
  EXPECT_EQ(fs.gauges[2].color, kGaugeBlue);
  EXPECT_EQ(fs.gauges[2].progress, fs.gauges[2].max);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DownloadChain,
                         ::testing::Values(DownloadCase{"Kb96", 96, false, 24}, DownloadCase{"Kb30", 30, false, 8},
                                           DownloadCase{"Kb96WithEeprom", 96, true, 24},
                                           DownloadCase{"Kb1", 1, false, 1},
                                           DownloadCase{"NoFlashStillSendsOneBlock", 0, false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadFixture, BlocksCarryTheImageAndTheGaugeLeadsByOne) {
  fs.st.ChipStartAddress = 0x4000;
  StartDownload(fs.st, 0);
  ASSERT_TRUE(link.Answer(0, testing::HealthyUnit));  // configuration image
  EXPECT_EQ(fs.st.PortState[0], kStateDownloadMain);
  EXPECT_EQ(fs.gauges[0].progress, 1);
  EXPECT_EQ(fs.gauges[0].max, 96);
  ASSERT_TRUE(link.Answer(0, testing::HealthyUnit));  // block 0
  EXPECT_EQ(fs.st.PortBlockIndex[0], 4);
  EXPECT_EQ(fs.gauges[0].progress, 5);
  ASSERT_TRUE(link.Answer(0, testing::HealthyUnit));  // block 4
  Bytes block8 = *testing::DecodeSent(fs.ports[0].sent.back());
  EXPECT_EQ(block8[1], 8);
  EXPECT_EQ(block8[8], fs.st.MainBuffer[0x4000 + 8 * 1024]);
  EXPECT_EQ(block8[8 + 4095], fs.st.MainBuffer[0x4000 + 8 * 1024 + 4095]);
}

struct FailureCase {
  const char* name;
  size_t answer_index;  // which command gets the failure
  uint8_t status;
  const char* line;
};

class DownloadFailure : public DownloadFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailure, EndsTheChainRedWithoutReset) {
  const FailureCase& c = GetParam();
  fs.st.EepStepsEnabled = 1;
  size_t answered = 0;
  StartDownload(fs.st, 5);
  link.Run([&](int port, const Bytes& command) -> std::optional<Bytes> {
    if (answered++ == c.answer_index) return testing::StatusReply(command[0], c.status);
    return testing::HealthyUnit(port, command);
  });
  EXPECT_EQ(link.commands[5].size(), c.answer_index + 1);  // nothing after the failure
  EXPECT_EQ(fs.memo.lines.back(), c.line);
  EXPECT_EQ(fs.gauges[5].color, kGaugeRed);
  EXPECT_EQ(fs.st.PortState[5], kStateIdle);
  EXPECT_EQ(fs.st.DownloadsDone, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DownloadFailure,
    ::testing::Values(FailureCase{"ConfigImage", 0, 54, "> 10:15:02 C6: Chip type error!"},
                      FailureCase{"FourthBlock", 4, 44, "> 10:15:02 C6: Flash Memory Error!"},
                      FailureCase{"EepromBlock", 25, 0x77, "> 10:15:02 C6: Operation error! Error Code = 0x77"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadFixture, DownloadsDoneWrapsAtAByte) {
  fs.st.FlashSizeKB = 4;
  fs.st.DownloadsDone = 255;
  StartDownload(fs.st, 0);
  link.Run(testing::HealthyUnit);
  EXPECT_EQ(fs.st.DownloadsDone, 0);
}

// The command-line download goes to the identified units by slot: a unit
// that hung up leaves a gap, and one in a firmware upgrade is not taken.
TEST_F(DownloadFixture, CommandLineDownloadStartsEveryIdentifiedSlotAndNoOther) {
  for (int slot : {0, 2, 3, 9}) fs.st.PortConnected[slot] = 1;
  fs.st.PortUpgrading[3] = 1;
  fs.st.DownloadsDone = 4;  // left by an earlier download
  EXPECT_EQ(StartCommandLineDownload(fs.st), 3);
  for (int slot = 0; slot < kPortSlots; ++slot) {
    const bool started = slot == 0 || slot == 2 || slot == 9;
    EXPECT_EQ(testing::SentCodes(fs.ports[slot].sent), started ? std::vector<int>{0x53} : std::vector<int>{}) << slot;
    EXPECT_EQ(fs.st.PortDownload[slot], started ? kDownloadPending : kDownloadNone) << slot;
  }
  EXPECT_EQ(fs.st.DownloadsDone, 0);
}

// After a failure the operator presses Download again, which starts over
// on every idle unit: the run ends only once each holds its latest
// download, and a unit's second success is counted once.
TEST_F(DownloadFixture, CommandLineRunEndsWhenEveryStartedSlotHoldsItsLatestDownload) {
  fs.st.FlashSizeKB = 4;
  fs.st.AutoExit = 1;
  fs.st.PortSlotCount = 2;
  fs.st.DevicesFound = 2;
  fs.st.PortConnected[0] = fs.st.PortConnected[1] = 1;
  ASSERT_EQ(StartCommandLineDownload(fs.st), 2);
  link.Run([](int port, const Bytes& command) -> std::optional<Bytes> {
    if (port == 1) return testing::StatusReply(command[0], 54);
    return testing::HealthyUnit(port, command);
  });
  EXPECT_EQ(fs.st.DownloadsDone, 1);
  EXPECT_FALSE(CommandLineRunFinished(fs.st));

  ASSERT_EQ(StartDownloadOnEligibleSlots(fs.st), 2);
  EXPECT_EQ(fs.st.DownloadsDone, 0);
  while (link.Answer(1, testing::HealthyUnit)) {
  }
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C2: Download Success!");
  EXPECT_FALSE(CommandLineRunFinished(fs.st)) << "slot 1 finished while slot 0 is still sending";
  link.Run(testing::HealthyUnit);
  EXPECT_EQ(fs.st.DownloadsDone, 2);
  EXPECT_TRUE(CommandLineRunFinished(fs.st));
}

TEST_F(DownloadFixture, EachDownloadDrawsAFreshWordAndImage) {
  fs.st.FlashSizeKB = 4;
  StartDownload(fs.st, 0);
  StartDownload(fs.st, 1);
  Bytes first = *testing::DecodeSent(fs.ports[0].sent[0]);
  Bytes second = *testing::DecodeSent(fs.ports[1].sent[0]);
  EXPECT_NE(Bytes(first.begin() + 1, first.begin() + 3), Bytes(second.begin() + 1, second.begin() + 3));
  // The word is the generator's first draw below 65535.
  RandomGenerator draws;
  uint32_t w = draws.Below(65535);
  EXPECT_EQ(first[1] | (first[2] << 8), static_cast<int>(w));
}

}  // namespace
}  // namespace zek
