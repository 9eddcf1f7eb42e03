#include "station/link/reply_dispatch.h"

#include <gtest/gtest.h>

#include <random>

#include "station/link/command_builders.h"
#include "station/link/operation_states.h"
#include "station/link/operation_steps.h"
#include "station/link/progress.h"
#include "tests/support/reply_builder.h"

namespace zek {
namespace {

using testing::Bytes;

class FakeReadBack : public ReadBackView {
 public:
  void ShowReadMainData() override { ++main_shown; }
  void ShowReadEepData() override { ++eep_shown; }
  int main_shown = 0, eep_shown = 0;
};

struct DispatchFixture : ::testing::Test {
  DispatchFixture() {
    fs.st.FlashSizeKB = 16;
    fs.st.Views.ReadBack = &read_back;
    for (auto& port : fs.ports) port.open = true;
  }
  // A step running on the port, as its starter leaves it.
  void Running(uint8_t state, int port) {
    fs.st.PortState[port] = state;
    StartProgress(fs.st, 500, false, port);
    fs.memo.lines.clear();
  }
  void Receive(int port, const Bytes& bytes) { testing::Receive(fs.st, port, bytes); }
  size_t Sent(int port) const { return fs.ports[port].sent.size(); }
  testing::FakeStation fs;
  testing::UnitLink link{fs};
  FakeReadBack read_back;
};

struct BadFrameCase {
  const char* name;
  Bytes frame;
};

class BadFrames : public DispatchFixture, public ::testing::WithParamInterface<BadFrameCase> {};

TEST_P(BadFrames, EndTheRunningStepWithADataError) {
  Running(kStateProgram, 3);
  Receive(3, GetParam().frame);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C4: Data error!"}));
  EXPECT_EQ(fs.gauges[3].color, kGaugeRed);
  EXPECT_EQ(fs.st.PortState[3], kStateIdle);
  EXPECT_EQ(Sent(3), 0u);
}

TEST_P(BadFrames, OnAnIdleSlotLogNothingButTurnTheGaugeRed) {
  Receive(3, GetParam().frame);
  EXPECT_TRUE(fs.memo.lines.empty());
  EXPECT_EQ(fs.gauges[3].color, kGaugeRed);
  EXPECT_EQ(fs.gauges[3].progress, fs.gauges[3].max);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, BadFrames,
    ::testing::Values(BadFrameCase{"BadEscape", {0xC0, 0x95, 0xDB, 0x41, 0, 0, 0, 0, 0, 0, 0, 0xC0}},
                      BadFrameCase{"SevenBytes", {0xC0, 1, 2, 3, 4, 5, 6, 7, 0xC0}}),
    [](const auto& info) { return std::string(info.param.name); });

// A checked reply of header and check alone: its "status" would be a
// check byte.
TEST_F(DispatchFixture, AReplyWithoutAStatusByteIsADataError) {
  Running(kStateProgram, 3);
  Receive(3, testing::Frame(testing::ReplyPacket(0x95, {})));
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C4: Data error!"}));
  EXPECT_EQ(fs.gauges[3].color, kGaugeRed);
  EXPECT_EQ(Sent(3), 0u);
}

TEST_F(DispatchFixture, ACheckMismatchIsAPacketChecksumError) {
  Running(kStateBlankCheck, 0);
  Bytes reply = testing::StatusReply(0x93, 0);
  reply.back() ^= 0x01;
  Receive(0, testing::Frame(reply));
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C1: Packet checksum error!"}));
  EXPECT_EQ(fs.gauges[0].color, kGaugeRed);
}

// An information packet goes to its own handler in every state, without
// the packet check (this one's check is wrong) and without dispatch.
TEST_F(DispatchFixture, InformationPacketsBypassCheckAndDispatch) {
  for (uint8_t state : {kStateDownloadMain, kStateProgram, kStateVerifyMain, kStateIdle, uint8_t{99}}) {
    Running(state, 1);
    Bytes info = {0xFD, 0x10, 0, 0, 0, 0, 0, 0x01, 0xAA, 0xBB};  // bytes 0-7 do not sum to 0
    Receive(1, testing::Frame(info));
    EXPECT_EQ(fs.st.PortState[1], state);
    EXPECT_TRUE(fs.memo.lines.empty()) << int(state);
    EXPECT_EQ(fs.gauges[1].color, kGaugeBlue);
    EXPECT_EQ(Sent(1), 0u);
  }
}

// A checked reply whose bytes 0-7 add up to 0 and read as a completed
// good chip (step 240, status 6): only HandleInfoPacket counts it.
Bytes ZeroSumReply() { return testing::ReplyPacket(0xC3, {6, 0}, 0x06F0); }

TEST_F(DispatchFixture, RepliesOnAnIdleSlotOrInAStateWithoutHandlerGoToTheInfoPacketHandler) {
  int counted = 0;
  for (uint8_t state : {kStateIdle, uint8_t{1}, uint8_t{200}}) {
    fs.st.PortState[2] = state;
    fs.memo.lines.clear();
    Receive(2, testing::Frame(ZeroSumReply()));
    EXPECT_EQ(fs.st.PortOKCount[2], ++counted) << int{state};
    ASSERT_FALSE(fs.memo.lines.empty()) << int{state};
    EXPECT_EQ(fs.memo.lines[0], "> 10:15:02 C3: Programming Completed : Successed !") << int{state};
    EXPECT_EQ(fs.st.PortState[2], state);
    EXPECT_EQ(Sent(2), 0u);
  }
  // One whose bytes 0-7 do not add up to 0 changes nothing.
  fs.memo.lines.clear();
  Receive(2, testing::Frame(testing::StatusReply(0x93, 44)));
  EXPECT_TRUE(fs.memo.lines.empty());
  EXPECT_EQ(fs.st.PortOKCount[2], counted);
}

TEST_F(DispatchFixture, SeveralFramesInOneChunkAreHandledInOrder) {
  fs.st.FlashSizeKB = 12;
  StartProgram(fs.st, 0);
  Bytes bytes = {0xFF, 0x00};  // noise between frames is ignored
  for (int i = 0; i < 3; ++i) {
    Bytes f = testing::Frame(testing::StatusReply(0x95, 6));
    bytes.insert(bytes.end(), f.begin(), f.end());
  }
  Receive(0, bytes);
  EXPECT_EQ(Sent(0), 3u);  // blocks 0, 4, 8; the third reply ends the step
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C1: Programming Success!");
}

TEST_F(DispatchFixture, ARepliedChipIdLogsNothingAndEndsBlue) {
  fs.st.PortState[0] = kStateReadChipID;
  StartProgress(fs.st, 200, false, 0);
  Receive(0, testing::Frame(testing::StatusReply(0x93, 0)));
  EXPECT_TRUE(fs.memo.lines.empty());
  EXPECT_EQ(fs.gauges[0].color, kGaugeBlue);
  EXPECT_EQ(fs.gauges[0].progress, 200);
  EXPECT_EQ(fs.st.PortState[0], kStateIdle);
}

struct VerifyCase {
  const char* name;
  Bytes reply;
  bool auto_seq;
  std::vector<std::string> lines;
  bool failed;
  int online;
};

class VerifyMain : public DispatchFixture, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(VerifyMain, LogsTheSumsAndTheOutcome) {
  const VerifyCase& c = GetParam();
  fs.st.MainAcc16 = 0x1234;
  fs.st.MainCrc16 = 0xABCD;
  fs.st.PortAutoSeq[0] = c.auto_seq;
  Running(kStateVerifyMain, 0);
  Receive(0, testing::Frame(c.reply));
  EXPECT_EQ(fs.memo.lines, c.lines);
  EXPECT_EQ(fs.gauges[0].color, c.failed ? kGaugeRed : kGaugeBlue);
  EXPECT_EQ(fs.st.OnLineCounter, c.online);
  EXPECT_EQ(fs.st.PortState[0], kStateIdle);
}

Bytes MismatchReply() {
  Bytes data(16, 0);
  data[0] = 52;
  data[10] = 0x11;  // chip ACC: 16 bits of 10-11 (12-13 not shown)
  data[11] = 0x22;
  data[12] = 0x99;
  data[14] = 0x33;
  data[15] = 0x44;
  return testing::ReplyPacket(0x93, data, 0x55);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, VerifyMain,
    ::testing::Values(
        VerifyCase{"Success",
                   testing::VerifyReply(6, 0x0001ABCD, 0x00EF),
                   false,
                   {"> 10:15:02 C1: Main Data verify success! ACC=0x0001ABCD,CRC=0x00EF."},
                   false,
                   0},
        VerifyCase{"SuccessInTheAutomaticSequenceCounts",
                   testing::VerifyReply(6, 0xFFFFFFFF, 0xFFFF),
                   true,
                   {"> 10:15:02 C1: Main Data verify success! ACC=0xFFFFFFFF,CRC=0xFFFF."},
                   false,
                   1},
        VerifyCase{"ChecksumMismatch",
                   MismatchReply(),
                   true,
                   {"> 10:15:02 C1: Current Buffer CheckSum is : ACC=0x1234,CRC=0xABCD.",
                    "> 10:15:02 C1: Read out Chip CheckSum is  : ACC=0x2211,CRC=0x4433.",
                    "> 10:15:02 C1: Chip checksum error!"},
                   true,
                   0},
        VerifyCase{"StatusZeroFails", testing::VerifyReply(0, 1, 1), true,
                   {"> 10:15:02 C1: Operation error! Error Code = 0x00"}, true, 0},
        VerifyCase{"AnotherStatus", testing::VerifyReply(49, 1, 1), false,
                   {"> 10:15:02 C1: Data verify error!"}, true, 0},
        VerifyCase{"AShortReplyFailsEvenWithSix", testing::StatusReply(0x93, 6), true,
                   {"> 10:15:02 C1: Operation error! Error Code = 0x06"}, true, 0},
        VerifyCase{"AReportWithoutItsSumsIsADataError", testing::ReplyPacket(0x93, {6, 0, 0, 0}), true,
                   {"> 10:15:02 C1: Data error!"}, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchFixture, TheOnLineCounterWrapsInsteadOfOverflowing) {
  fs.st.OnLineCounter = 0x7FFFFFFF;
  fs.st.PortAutoSeq[0] = 1;
  Running(kStateVerifyMain, 0);
  Receive(0, testing::Frame(testing::VerifyReply(6, 1, 1)));
  EXPECT_EQ(fs.st.OnLineCounter, -2147483647 - 1);
  EXPECT_EQ(fs.status.panels[3], "OnLine Counter: -2147483648");
}

struct VerifyEepCase {
  const char* name;
  Bytes reply;
  std::vector<std::string> lines;
  bool failed;
};

class VerifyEep : public DispatchFixture, public ::testing::WithParamInterface<VerifyEepCase> {};

TEST_P(VerifyEep, ReadsTheUnitsStatusFromDataByteZero) {
  Running(kStateVerifyEEP, 7);
  Receive(7, testing::Frame(GetParam().reply));
  EXPECT_EQ(fs.memo.lines, GetParam().lines);
  EXPECT_EQ(fs.gauges[7].color, GetParam().failed ? kGaugeRed : kGaugeBlue);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, VerifyEep,
    ::testing::Values(VerifyEepCase{"ShortSuccess", testing::StatusReply(0x93, 0),
                                    {"> 10:15:02 C8: EEP Data verify success!"}, false},
                      VerifyEepCase{"LongSix", testing::ReplyPacket(0x93, {6, 0, 0, 0}),
                                    {"> 10:15:02 C8: EEP Data verify success!"}, false},
                      VerifyEepCase{"LongFailure", testing::ReplyPacket(0x93, {49, 0, 0, 0}),
                                    {"> 10:15:02 C8: Data verify error!"}, true},
                      VerifyEepCase{"ShortFailure", testing::StatusReply(0x93, 7),
                                    {"> 10:15:02 C8: No response!"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The read-back as the window starts it: state 32 on slot 0, block mode,
// the first 0x9B for block 0.
TEST_F(DispatchFixture, ReadOutFillsTheReadBufferAtTheChipAddress) {
  fs.st.ChipStartAddress = 0x100;
  fs.st.PortState[0] = kStateReadOut;
  StartProgress(fs.st, fs.st.FlashSizeKB, true, 0);
  SendSettingsOnly(fs.st, 0x9B, 0, 0);
  std::mt19937 rng(3);
  link.Run(testing::HealthyUnit, &rng);
  EXPECT_EQ(link.Params(0, 0x9B), (std::vector<int>{0, 4, 8, 12}));
  for (uint32_t i = 0; i < 16 * 1024; ++i)
    ASSERT_EQ(fs.st.ReadMainBuffer[0x100 + i], testing::ReadPattern(0, i)) << i;
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C1: Data has been read out!");
  EXPECT_EQ(read_back.main_shown, 1);
  EXPECT_EQ(fs.gauges[0].color, kGaugeBlue);
}

TEST_F(DispatchFixture, ReadOutNearTheEndOfTheBufferWritesNothingPastIt) {
  fs.st.ChipStartAddress = static_cast<uint32_t>(kMainBufferSize - 1024);
  fs.st.PortState[0] = kStateReadOut;
  StartProgress(fs.st, fs.st.FlashSizeKB, true, 0);
  SendSettingsOnly(fs.st, 0x9B, 0, 0);
  link.Run(testing::HealthyUnit);
  EXPECT_EQ(fs.st.ReadMainBuffer[kMainBufferSize - 1], testing::ReadPattern(0, 1023));
  EXPECT_EQ(read_back.main_shown, 1);
}

TEST_F(DispatchFixture, AReadOutReplyWithoutItsBlockIsADataError) {
  fs.st.PortState[0] = kStateReadOut;
  StartProgress(fs.st, fs.st.FlashSizeKB, true, 0);
  fs.memo.lines.clear();
  Bytes short_block(100, 0x5A);
  Receive(0, testing::Frame(testing::ReplyPacket(0x9B, short_block)));
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C1: Data error!"}));
  EXPECT_EQ(fs.st.ReadMainBuffer[0], 0xFF);  // still erased: nothing of the short reply was taken
  EXPECT_EQ(read_back.main_shown, 0);
  EXPECT_EQ(Sent(0), 0u);
}

TEST_F(DispatchFixture, ReadEepromFillsTheReadBuffer) {
  fs.st.PortState[0] = kStateReadEEP;
  StartProgress(fs.st, 300, false, 0);
  SendSettingsOnly(fs.st, 0x9C, 0, 0);
  link.Run(testing::HealthyUnit);
  for (uint32_t i = 0; i < 4096; ++i) ASSERT_EQ(fs.st.ReadEepBuffer[i], testing::ReadPattern(0, 0x40000 + i));
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C1: Read Out EEP Data Success!");
  EXPECT_EQ(read_back.eep_shown, 1);
}

TEST_F(DispatchFixture, AFailedReadEepromLeavesTheBufferAlone) {
  Running(kStateReadEEP, 0);
  Receive(0, testing::Frame(testing::StatusReply(0x9C, 16)));
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C1: Chip read protected!"}));
  EXPECT_EQ(read_back.eep_shown, 0);
  EXPECT_EQ(fs.gauges[0].color, kGaugeRed);
}

}  // namespace
}  // namespace zek
