#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <unistd.h>

#include "serial/comm_component.h"
#include "tests/serial/comm_fixture.h"

namespace zek {
namespace {

using namespace std::chrono_literals;
using testing::CommOnPty;
using testing::DeliverPosted;
using testing::Pattern;
using testing::PumpUntil;
using testing::SlowReader;

// The far end sends bursts with silent gaps between them; the chunks the
// component raises follow the read rule.
struct ReadRuleCase {
  const char* name;
  CommTimeouts timeouts;
  std::vector<size_t> bursts;
  std::chrono::milliseconds gap;
  std::vector<size_t> chunks;
};
void PrintTo(const ReadRuleCase& c, std::ostream* os) { *os << c.name; }


class ReadRule : public CommOnPty, public ::testing::WithParamInterface<ReadRuleCase> {};

TEST_P(ReadRule, CutsChunksBySilenceAndSize) {
  const ReadRuleCase& c = GetParam();
  comm.SetReadIntervalTimeout(c.timeouts.ReadIntervalTimeout);
  comm.SetReadTotalTimeoutMultiplier(c.timeouts.ReadTotalTimeoutMultiplier);
  comm.SetReadTotalTimeoutConstant(c.timeouts.ReadTotalTimeoutConstant);
  Open();
  std::vector<uint8_t> sent;
  for (size_t i = 0; i < c.bursts.size(); ++i) {
    if (i > 0) std::this_thread::sleep_for(c.gap);  // the silence under test
    std::vector<uint8_t> burst = Pattern(c.bursts[i], static_cast<uint8_t>(i + 1));
    pty.Write(burst);
    sent.insert(sent.end(), burst.begin(), burst.end());
  }
  ASSERT_TRUE(PumpUntil([&] { return events.Received() >= sent.size(); }));
  std::vector<size_t> sizes;
  for (const auto& chunk : events.chunks) sizes.push_back(chunk.size());
  EXPECT_EQ(sizes, c.chunks);
  EXPECT_EQ(events.Joined(), sent);
}

INSTANTIATE_TEST_SUITE_P(
    Timeouts, ReadRule,
    ::testing::Values(
        ReadRuleCase{"OneBurstIsOneChunk", {20, 0, 0, 0, 0}, {300}, 0ms, {300}},
        ReadRuleCase{"SilenceEndsAChunk", {20, 0, 0, 0, 0}, {10, 20, 30}, 250ms, {10, 20, 30}},
        ReadRuleCase{"AChunkHoldsAt2048Bytes", {100, 0, 0, 0, 0}, {5000}, 0ms, {2048, 2048, 904}},
        ReadRuleCase{"ATotalTimeOutEndsAChunkWithoutAnInterval", {0, 0, 150, 0, 0}, {10}, 0ms, {10}},
        ReadRuleCase{"AllOnesReturnsWhatHasArrived", {kReadWithoutInterval, 0, 0, 0, 0}, {7}, 0ms, {7}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommOnPty, ANewIntervalWhileOpenTakesEffect) {
  Open();
  comm.SetReadIntervalTimeout(400);
  pty.Write({1});
  std::this_thread::sleep_for(100ms);  // silence shorter than the interval
  pty.Write({2});
  ASSERT_TRUE(PumpUntil([&] { return events.Received() == 2; }));
  ASSERT_EQ(events.chunks.size(), 1u);
  EXPECT_EQ(events.chunks[0], (std::vector<uint8_t>{1, 2}));
}

TEST_F(CommOnPty, PartialWritesAreContinuedToTheLastByte) {
  Open();
  // Far more than a pseudo-terminal holds: the driver takes each block in
  // parts while the far end is not reading.
  std::vector<uint8_t> sent;
  for (uint8_t seed = 1; seed <= 4; ++seed) {
    std::vector<uint8_t> block = Pattern(65535, seed);
    ASSERT_TRUE(comm.SendBuffer(block.data(), static_cast<uint16_t>(block.size())));
    sent.insert(sent.end(), block.begin(), block.end());
  }
  std::vector<uint8_t> got = pty.Read(sent.size(), 20s);
  ASSERT_EQ(got.size(), sent.size());
  EXPECT_TRUE(got == sent);
  EXPECT_TRUE(PumpUntil([&] { return events.empties == 2; }));
  EXPECT_EQ(events.hangups, 0);
}

// Sent in full before the close, the bytes stay for a far end that has
// not read them yet; the close's purge would drop them.
TEST_F(CommOnPty, FinishSendingKeepsWhatWasSentAcrossTheClose) {
  Open();
  std::vector<uint8_t> sent;
  for (uint8_t seed = 1; seed <= 3; ++seed) {
    std::vector<uint8_t> block = Pattern(10000, seed);
    ASSERT_TRUE(comm.SendBuffer(block.data(), static_cast<uint16_t>(block.size())));
    sent.insert(sent.end(), block.begin(), block.end());
  }
  SlowReader unit(pty, sent.size());
  comm.FinishSending(std::chrono::steady_clock::now() + 5s);
  comm.ClosePort();
  const std::vector<uint8_t> got = unit.Join();
  ASSERT_EQ(got.size(), sent.size());
  EXPECT_TRUE(got == sent);
}

TEST_F(CommOnPty, ClosingDuringAPendingWriteEndsWithoutAHangup) {
  Open();
  std::vector<uint8_t> block = Pattern(65535, 9);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(comm.SendBuffer(block.data(), 65535));
  // The far end reads a little, so the writer is known to be under way.
  ASSERT_EQ(pty.Read(100).size(), 100u);
  auto start = std::chrono::steady_clock::now();
  comm.ClosePort();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_FALSE(comm.IsOpen());
  DeliverPosted();
  EXPECT_EQ(events.hangups, 0);
}

TEST_F(CommOnPty, AVanishedFarEndWhileIdleIsOneHangupFromTheReceiver) {
  Open();
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return events.hangups == 1; }));
  comm.ClosePort();
  DeliverPosted();
  EXPECT_EQ(events.hangups, 1);
}

// A pulled adapter: the bytes that arrived within the read interval come
// first, then the hang-up.
TEST_F(CommOnPty, BytesReceivedBeforeTheFarEndVanishesAreDeliveredBeforeTheHangup) {
  comm.SetReadIntervalTimeout(60'000);  // the chunk would end only with the line
  Open();
  const std::vector<uint8_t> report = {0xC0, 0xFD, 0xF0, 0x06, 0x00, 0x00, 0x00, 0x00, 0x0D, 0xC0};
  pty.Write(report);
  ASSERT_TRUE(PumpUntil([&] { return pty.Unread() == 0; }));  // the receive thread holds them
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return events.hangups == 1; }));
  EXPECT_EQ(events.chunks_at_first_hangup, 1u);
  EXPECT_EQ(events.Joined(), report);
  comm.ClosePort();
}

TEST_F(CommOnPty, AVanishedFarEndDuringAWriteIsAHangupFromEachThread) {
  Open();
  std::vector<uint8_t> block = Pattern(65535, 3);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(comm.SendBuffer(block.data(), 65535));
  ASSERT_EQ(pty.Read(100).size(), 100u);
  pty.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return events.hangups == 2; }));
  // The transmit thread has ended: nothing more can be queued.
  EXPECT_FALSE(comm.SendBuffer(block.data(), 10));
  EXPECT_TRUE(comm.IsOpen());  // until the owner closes it
  comm.ClosePort();
  DeliverPosted();
  EXPECT_EQ(events.hangups, 2);
}

TEST_F(CommOnPty, ADataMessagePostedBeforeClosingIsDeliveredAfterIt) {
  comm.SetReadIntervalTimeout(kReadWithoutInterval);
  comm.OpenPort();
  pty.Write({0xC0, 0x11, 0xC0});
  // Without running the event loop: the transmit thread's empty notice and
  // the chunk wait in the window's queue.
  ASSERT_TRUE(testing::WaitWithoutDelivering([&] { return comm.QueuedThreadMessages() == 2; }));
  comm.ClosePort();
  EXPECT_TRUE(events.chunks.empty());
  DeliverPosted();
  ASSERT_EQ(events.chunks.size(), 1u);
  EXPECT_EQ(events.chunks[0], (std::vector<uint8_t>{0xC0, 0x11, 0xC0}));
  EXPECT_TRUE(events.closed_at_data);
  EXPECT_EQ(comm.QueuedThreadMessages(), 0u);
}

TEST_F(CommOnPty, ADataMessageWithoutAHandlerIsStillFreed) {
  comm.OnReceiveData = nullptr;
  comm.SetReadIntervalTimeout(kReadWithoutInterval);
  Open();
  pty.Write({1, 2, 3});
  // The chunk is posted, then handed to the procedure; the sanitizer build
  // reports its block if it is not freed there.
  ASSERT_TRUE(testing::WaitWithoutDelivering([&] { return comm.QueuedThreadMessages() == 1; }));
  DeliverPosted();
  EXPECT_EQ(comm.QueuedThreadMessages(), 0u);
  EXPECT_TRUE(events.chunks.empty());
}

// The hidden window's procedure, message by message.
struct MessageCase {
  const char* name;
  uint32_t message;
  uintptr_t lParam;
  testing::CommEvents expected;
};
void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }


class WindowProcedure : public CommOnPty, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(WindowProcedure, RaisesTheMatchingEvent) {
  ThreadMessage m{GetParam().message, 0, GetParam().lParam, nullptr};
  comm.HandleThreadMessage(m);
  const testing::CommEvents& want = GetParam().expected;
  EXPECT_EQ(events.errors, want.errors);
  EXPECT_EQ(events.modem, want.modem);
  EXPECT_EQ(events.hangups, want.hangups);
  EXPECT_EQ(events.empties, want.empties);
  EXPECT_TRUE(events.chunks.empty());
}

testing::CommEvents With(std::vector<uint32_t> errors, std::vector<uint32_t> modem, int hangups, int empties) {
  testing::CommEvents e;
  e.errors = std::move(errors);
  e.modem = std::move(modem);
  e.hangups = hangups;
  e.empties = empties;
  return e;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, WindowProcedure,
    ::testing::Values(MessageCase{"LineError", kMsgReceiveError, 0x0A, With({0x0A}, {}, 0, 0)},
                      MessageCase{"Hangup", kMsgRequestHangup, 0, With({}, {}, 1, 0)},
                      MessageCase{"Carrier", kMsgModemState, 8, With({}, {8}, 0, 0)},
                      MessageCase{"Ring", kMsgModemState, 4, With({}, {4}, 0, 0)},
                      MessageCase{"Both", kMsgModemState, 12, With({}, {12}, 0, 0)},
                      MessageCase{"SendEmpty", kMsgSendDataEmpty, 0, With({}, {}, 0, 1)},
                      MessageCase{"Unknown", 1030, 0, With({}, {}, 0, 0)},
                      MessageCase{"BelowTheRange", 1024, 0, With({}, {}, 0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommOnPty, TheDataMessageCarriesItsCountAsSixteenBits) {
  MessageBlock block = AllocateBlock(3);
  block[0] = 7;
  block[1] = 8;
  block[2] = 9;
  ThreadMessage m{kMsgReceiveData, 3, 0, std::move(block)};
  comm.HandleThreadMessage(m);
  ASSERT_EQ(events.chunks.size(), 1u);
  EXPECT_EQ(events.chunks[0], (std::vector<uint8_t>{7, 8, 9}));
  EXPECT_EQ(m.block, nullptr);  // freed once the handler is done
}

}  // namespace
}  // namespace zek

namespace zek {
namespace {

TEST_F(CommOnPty, AThousandOpenSendCloseCyclesWithDataFlowingEndCleanly) {
  const std::vector<uint8_t> out = Pattern(64, 5);
  for (int cycle = 0; cycle < 1000; ++cycle) {
    comm.OpenPort();
    size_t before = events.Received();
    ASSERT_TRUE(comm.SendBuffer(out.data(), static_cast<uint16_t>(out.size())));
    pty.Write(out);
    if (cycle % 100 == 0) {
      ASSERT_EQ(pty.Read(out.size()), out);
      ASSERT_TRUE(PumpUntil([&] { return events.Received() >= before + out.size(); }));
    }
    comm.ClosePort();
    DeliverPosted();
    // Whatever the far end did not read is dropped.
    uint8_t drain[4096];
    while (::read(pty.master(), drain, sizeof drain) > 0) {
    }
  }
  EXPECT_EQ(events.hangups, 0);
  EXPECT_EQ(comm.QueuedThreadMessages(), 0u);
}

}  // namespace
}  // namespace zek
