#include "station/link/operation_steps.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "station/link/command_builders.h"
#include "station/link/operation_states.h"
#include "station/link/progress.h"
#include "station/link/start_download.h"
#include "tests/support/reply_builder.h"

namespace zek {
namespace {

using testing::Bytes;

// A unit whose blank check answers `blank_status`, everything else healthy.
testing::UnitScript UnitWithChip(uint8_t blank_status) {
  return [blank_status](int port, const Bytes& command) -> std::optional<Bytes> {
    if (command[0] == 0x93 && command[1] == 0x05) return testing::StatusReply(0x93, blank_status);
    return testing::HealthyUnit(port, command);
  };
}

struct ChainFixture : ::testing::Test {
  ChainFixture() {
    fs.st.FlashSizeKB = 8;  // two program blocks
    for (auto& port : fs.ports) port.open = true;
  }
  std::vector<std::string> Lines(int port, const std::vector<std::string>& texts) {
    std::vector<std::string> lines;
    for (const auto& t : texts) lines.push_back("> 10:15:02 C" + std::to_string(port + 1) + ": " + t);
    return lines;
  }
  testing::FakeStation fs;
  testing::UnitLink link{fs};
  std::mt19937 rng{11};
};

constexpr int kBlank = 0x9305, kErase = 0x9303, kVerify = 0x9355, kVerifyEep = 0x9356, kProtect = 0x9353;

struct AutoCase {
  const char* name;
  uint8_t blank_status;
  bool eep_steps;
  std::vector<int> codes;
  std::vector<std::string> texts;
};

class AutoSequence : public ChainFixture, public ::testing::WithParamInterface<AutoCase> {};

TEST_P(AutoSequence, RunsBlankEraseProgramVerify) {
  const AutoCase& c = GetParam();
  fs.st.EepStepsEnabled = c.eep_steps;
  fs.st.PortAutoSeq[1] = 1;
  StartBlankCheck(fs.st, 1);
  link.Run(UnitWithChip(c.blank_status), &rng);
  EXPECT_EQ(link.Codes(1), c.codes);
  EXPECT_EQ(fs.memo.lines, Lines(1, c.texts));
  EXPECT_EQ(fs.st.OnLineCounter, 1);
  EXPECT_EQ(fs.status.panels[3], "OnLine Counter: 1");
  EXPECT_EQ(fs.st.PortState[1], kStateIdle);
  EXPECT_EQ(fs.gauges[1].color, kGaugeBlue);
}

const char* kVerified = "Main Data verify success! ACC=0x12345678,CRC=0xBEEF.";

INSTANTIATE_TEST_SUITE_P(
    Chips, AutoSequence,
    ::testing::Values(
        AutoCase{"BlankChipSkipsTheErase", 0, false, {kBlank, 0x95, 0x95, kVerify},
                 {"Do Chip blank checking......", "Current Chip is blank!", "Starting Data programming......",
                  "Do Chip data verification......", kVerified}},
        AutoCase{"NotBlankErasesFirst", 21, false, {kBlank, kErase, 0x95, 0x95, kVerify},
                 {"Do Chip blank checking......", "Chip is not blank!", "Do Chip Erasing......",
                  "Chip has been erased!", "Starting Data programming......", "Do Chip data verification......",
                  kVerified}},
        AutoCase{"ProtectedErasesFirst", 16, false, {kBlank, kErase, 0x95, 0x95, kVerify},
                 {"Do Chip blank checking......", "Chip is Protected!", "Do Chip Erasing......",
                  "Chip has been erased!", "Starting Data programming......", "Do Chip data verification......",
                  kVerified}},
        AutoCase{"ReadProtectedErasesFirst", 19, false, {kBlank, kErase, 0x95, 0x95, kVerify},
                 {"Do Chip blank checking......", "Chip is Protected!", "Do Chip Erasing......",
                  "Chip has been erased!", "Starting Data programming......", "Do Chip data verification......",
                  kVerified}},
        AutoCase{"WithTheEepromStep", 6, true, {kBlank, 0x95, 0x95, 0x96, kVerify},
                 {"Do Chip blank checking......", "Current Chip is blank!", "Starting Data programming......",
                  "Write chip OTP Data ......", "EEP Data write success!", "Do Chip data verification......",
                  kVerified}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChainFixture, AFailedStepEndsTheAutomaticSequence) {
  fs.st.PortAutoSeq[0] = 1;
  StartBlankCheck(fs.st, 0);
  link.Run([](int port, const Bytes& command) -> std::optional<Bytes> {
    if (command[0] == 0x93 && command[1] == 0x03) return testing::StatusReply(0x93, 31);
    return UnitWithChip(21)(port, command);
  });
  EXPECT_EQ(link.Codes(0), (std::vector<int>{kBlank, kErase}));
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C1: Chip has been locked!");
  EXPECT_EQ(fs.gauges[0].color, kGaugeRed);
  EXPECT_EQ(fs.st.OnLineCounter, 0);
}

struct SingleCase {
  const char* name;
  std::function<void(StationState&, int)> start;
  bool eep_steps;
  uint8_t blank_status;
  std::vector<int> codes;
  std::vector<std::string> texts;
  bool failed;
  uint8_t state;  // while the step runs
  uint8_t time_gauge;
  int gauge_max;
};

class SingleStep : public ChainFixture, public ::testing::WithParamInterface<SingleCase> {};

TEST_P(SingleStep, EndsAfterItsOwnReply) {
  const SingleCase& c = GetParam();
  fs.st.EepStepsEnabled = c.eep_steps;
  fs.st.TimeGauge = 1 - c.time_gauge;
  c.start(fs.st, 4);
  EXPECT_EQ(fs.st.PortState[4], c.state);
  EXPECT_EQ(fs.st.TimeGauge, c.time_gauge);
  EXPECT_EQ(fs.st.PortBusy[4], 1);
  EXPECT_EQ(fs.gauges[4].max, c.gauge_max);
  link.Run(UnitWithChip(c.blank_status), &rng);
  EXPECT_EQ(link.Codes(4), c.codes);
  EXPECT_EQ(fs.memo.lines, Lines(4, c.texts));
  EXPECT_EQ(fs.gauges[4].color, c.failed ? kGaugeRed : kGaugeBlue);
  EXPECT_EQ(fs.gauges[4].progress, fs.gauges[4].max);
  EXPECT_EQ(fs.st.PortState[4], kStateIdle);
  EXPECT_EQ(fs.st.PortBusy[4], 0);
  EXPECT_EQ(fs.st.OnLineCounter, 0);  // only the automatic sequence counts
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SingleStep,
    ::testing::Values(
        SingleCase{"BlankCheckOnABlankChip", StartBlankCheck, false, 0, {kBlank},
                   {"Do Chip blank checking......", "Current Chip is blank!"}, false, 19, 1, 500},
        SingleCase{"BlankCheckOnAFullChipFails", StartBlankCheck, false, 21, {kBlank},
                   {"Do Chip blank checking......", "Chip is not blank!"}, true, 19, 1, 500},
        SingleCase{"BlankCheckOnAProtectedChipFails", StartBlankCheck, false, 19, {kBlank},
                   {"Do Chip blank checking......", "Chip is Protected!"}, true, 19, 1, 500},
        SingleCase{"BlankCheckWithAnotherStatus", StartBlankCheck, false, 96, {kBlank},
                   {"Do Chip blank checking......", "Interface Error!"}, true, 19, 1, 500},
        SingleCase{"Erase", StartErase, false, 0, {kErase}, {"Do Chip Erasing......", "Chip has been erased!"},
                   false, 21, 1, 500},
        SingleCase{"Program", StartProgram, false, 0, {0x95, 0x95},
                   {"Starting Data programming......", "Programming Success!"}, false, 22, 0, 8},
        SingleCase{"ProgramGoesOnToTheEeprom", StartProgram, true, 0, {0x95, 0x95, 0x96},
                   {"Starting Data programming......", "Write chip OTP Data ......", "EEP Data write success!"},
                   false, 22, 0, 8},
        SingleCase{"WriteEeprom", StartWriteOTP, false, 0, {0x96},
                   {"Write chip OTP Data ......", "EEP Data write success!"}, false, 51, 0, 300},
        SingleCase{"VerifyMain", StartVerifyMain, false, 0, {kVerify},
                   {"Do Chip data verification......", kVerified}, false, 26, 1, 500},
        SingleCase{"VerifyEeprom", StartVerifyEEP, false, 0, {kVerifyEep},
                   {"Do Chip EEP Data verification......", "EEP Data verify success!"}, false, 58, 1, 500},
        SingleCase{"Protect", StartProtect, false, 0, {kProtect, 0x86},
                   {"Write chip protected data......", "Chip Protected data write success!"}, false, 29, 1, 500},
        SingleCase{"WriteOption", StartWriteOption, false, 0, {kProtect, 0x86},
                   {"Write Chip Option Data......", "Chip Protected data write success!"}, false, 29, 1, 500}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChainFixture, OptionWriteCarriesTheOptionImageProtectOnlySettings) {
  StartProtect(fs.st, 0);
  StartWriteOption(fs.st, 1);
  link.Run(testing::HealthyUnit);
  EXPECT_EQ(link.commands[0][0].size(), 72u + 2);
  EXPECT_EQ(link.commands[1][0].size(), 1096u + 2);
  EXPECT_EQ(link.commands[1][1][0], 0x86);
}

TEST_F(ChainFixture, ProgramRearmsTheTimeOutOnEveryBlock) {
  fs.st.FlashSizeKB = 12;
  StartProgram(fs.st, 0);
  fs.st.PortTimeout[0] = 3;
  ASSERT_TRUE(link.Answer(0, testing::HealthyUnit));
  EXPECT_EQ(fs.st.PortTimeout[0], 500);
  EXPECT_EQ(fs.st.PortBlockIndex[0], 4);
  EXPECT_EQ(fs.gauges[0].progress, 4);  // program does not lead by one
}

// The block steps at the top of the 16-bit block count: the index passes
// 0xFFFF and the chain must end there rather than start again at block 0.
struct LastBlockCase {
  const char* name;
  std::function<void(StationState&, int)> start;
  std::vector<int> codes;  // every command the slot sent
  const char* last_line;
};

class LastBlock : public ChainFixture, public ::testing::WithParamInterface<LastBlockCase> {};

TEST_P(LastBlock, EndsTheChainWithoutWrappingToBlockZero) {
  const LastBlockCase& c = GetParam();
  fs.st.FlashSizeKB = 0xFFFF;
  c.start(fs.st, 0);
  fs.st.PortBlockIndex[0] = 0xFFFC;
  ASSERT_TRUE(link.Answer(0, testing::HealthyUnit));
  EXPECT_EQ(fs.st.PortState[0], kStateIdle);
  EXPECT_EQ(fs.gauges[0].color, kGaugeBlue);
  ASSERT_FALSE(fs.memo.lines.empty());
  EXPECT_EQ(fs.memo.lines.back(), std::string("> 10:15:02 C1: ") + c.last_line);
  std::vector<Bytes> sent;
  for (const Bytes& frame : fs.ports[0].sent) sent.push_back(*testing::DecodeSent(frame));
  EXPECT_EQ(testing::CommandCodes(sent), c.codes);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, LastBlock,
    ::testing::Values(LastBlockCase{"Download", StartDownloadMain, {0x55, 0x8A}, "Download Success!"},
                      LastBlockCase{"Program", StartProgram, {0x95}, "Programming Success!"},
                      LastBlockCase{"ReadOut",
                                    [](StationState& st, int port) {
                                      st.PortState[port] = kStateReadOut;
                                      StartProgress(st, st.FlashSizeKB, true, port);
                                      SendSettingsOnly(st, 0x9B, 0, port);
                                    },
                                    {0x9B}, "Data has been read out!"}),
    [](const auto& info) { return std::string(info.param.name); });

// Port C3 programs blocks 0, 4, 8, ... while C1 is further on, and other
// slots run other chains at the same time, replies arriving in chunks.
TEST_F(ChainFixture, SlotsRunTheirChainsSideBySide) {
  fs.st.FlashSizeKB = 64;
  for (uint32_t i = 0; i < 0x10000; ++i) fs.st.MainBuffer[i] = static_cast<uint8_t>(i * 3 + (i >> 12));
  StartProgram(fs.st, 0);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(link.Answer(0, testing::HealthyUnit, &rng));
  EXPECT_EQ(fs.st.PortBlockIndex[0], 20);
  StartProgram(fs.st, 2);
  fs.st.PortAutoSeq[6] = 1;
  StartBlankCheck(fs.st, 6);
  StartErase(fs.st, 9);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(link.Answer(0, testing::HealthyUnit, &rng));
  StartDownload(fs.st, 4);  // while C1 is at block 32 and C3 at 0
  StartWriteOption(fs.st, 5);
  link.Run(UnitWithChip(21), &rng);

  std::vector<int> indexes;
  for (int i = 0; i < 16; ++i) indexes.push_back(4 * i);
  EXPECT_EQ(link.Params(0, 0x95), indexes);
  EXPECT_EQ(link.Params(2, 0x95), indexes);
  // The first block of C3 went out while C1 was at block 20.
  Bytes c3_first = link.commands[2][0];
  EXPECT_EQ(c3_first[1], 0);
  EXPECT_EQ(c3_first[72], fs.st.MainBuffer[0]);
  Bytes c1_sixth = link.commands[0][5];
  EXPECT_EQ(c1_sixth[1], 20);
  EXPECT_EQ(c1_sixth[72], fs.st.MainBuffer[20 * 1024]);
  std::vector<int> auto_codes = {kBlank, kErase};
  auto_codes.insert(auto_codes.end(), 16, 0x95);
  auto_codes.push_back(kVerify);
  EXPECT_EQ(link.Codes(6), auto_codes);
  EXPECT_EQ(link.Codes(9), (std::vector<int>{kErase}));
  EXPECT_EQ(link.Params(4, 0x55), indexes);
  EXPECT_EQ(link.Codes(4).back(), 0x8A);
  EXPECT_EQ(link.Codes(5), (std::vector<int>{kProtect, 0x86}));
  EXPECT_EQ(fs.st.DownloadsDone, 1);
  for (int p : {0, 2, 4, 5, 6, 9}) {
    EXPECT_EQ(fs.st.PortState[p], kStateIdle) << p;
    EXPECT_EQ(fs.gauges[p].color, kGaugeBlue) << p;
  }
  EXPECT_EQ(fs.st.OnLineCounter, 1);
}

}  // namespace
}  // namespace zek
