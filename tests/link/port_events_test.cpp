#include "station/link/port_events.h"

#include <gtest/gtest.h>

#include <cstring>

#include "station/data/errors.h"
#include "station/link/packet_framing.h"
#include "tests/support/fake_views.h"
#include "tests/support/reply_builder.h"

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Frame(const Bytes& packet) {
  Bytes out(2 * packet.size() + 8);
  uint16_t n = SlipEncode(packet, out, static_cast<uint16_t>(packet.size()));
  out.resize(n - 5);  // units send no fill bytes
  return out;
}

Bytes Identity() {
  Bytes packet(100, 0);
  packet[0] = 0xA3;
  packet[1] = 0xA5;
  packet[2] = 0x53;
  const char text[] = "DorvikLumqo-ZEK V2.05";
  packet[6] = sizeof text - 1;
  std::memcpy(packet.data() + 28, text, sizeof text - 1);
  return packet;
}

// A stand-alone report (a unit starting a run unless told otherwise):
// bytes 0-7 add up to 0.
Bytes InfoPacket(uint8_t step, uint8_t status = 0) {
  Bytes packet{0xFD, step, status, 0, 0, 0, 2, 0, 0, 0};
  uint8_t sum = 0;
  for (int i = 0; i < 7; ++i) sum = static_cast<uint8_t>(sum + packet[i]);
  packet[7] = static_cast<uint8_t>(-sum);
  return packet;
}

void Receive(testing::FakeStation& fs, int port, const Bytes& chunk) {
  LineCommReceiveData(fs.st, port, chunk.data(), static_cast<uint16_t>(chunk.size()));
}

Bytes Pending(testing::FakeStation& fs, int port) {
  return Bytes(fs.st.PortRxBuf[port].data(), fs.st.PortRxBuf[port].data() + fs.st.PortRxLen[port]);
}

Bytes Joined(const std::vector<Bytes>& parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

size_t CountLines(const testing::FakeStation& fs, const std::string& text) {
  size_t n = 0;
  for (const std::string& line : fs.memo.lines) n += line.find(text) != std::string::npos;
  return n;
}

TEST(LineCommReceiveData, ReArmsTheTimeOutAndKeepsAnUnfinishedFrame) {
  testing::FakeStation fs;
  fs.st.PortTimeout[3] = 7;
  Receive(fs, 3, {0x11, 0xC0, 0xA3, 0xA5});
  EXPECT_EQ(fs.st.PortTimeout[3], 500);
  EXPECT_EQ(Pending(fs, 3), (Bytes{0x11, 0xC0, 0xA3, 0xA5}));
  EXPECT_TRUE(fs.memo.lines.empty());
}

// A checked reply (not an information packet) whose bytes 0-7 add up to 0
// and read as a good chip: reply handling on an idle slot counts it, while
// discovery would take it for no unit at all.
Bytes ZeroSumReply() { return testing::ReplyPacket(0xC3, {6, 0}, 0x06F0); }

TEST(LineCommReceiveData, AnIdentifyingFrameSendsTheNextFramesToReplyHandling) {
  testing::FakeStation fs;
  Bytes identity = Frame(Identity());
  Bytes second = Frame(ZeroSumReply());
  Bytes third = Frame(ZeroSumReply());
  Receive(fs, 0, Joined({identity, second, Bytes(third.begin(), third.begin() + 4)}));
  EXPECT_EQ(fs.st.PortConnected[0], 1);
  EXPECT_EQ(fs.st.DevicesFound, 1);
  EXPECT_EQ(fs.st.PortOKCount[0], 1);
  EXPECT_EQ(CountLines(fs, "No device was found!"), 0u);
  EXPECT_EQ(Pending(fs, 0), Bytes(third.begin(), third.begin() + 4));
  // The rest of the third frame completes it.
  Receive(fs, 0, Bytes(third.begin() + 4, third.end()));
  EXPECT_EQ(fs.st.PortOKCount[0], 2);
  EXPECT_EQ(fs.st.PortRxLen[0], 0);
}

// The 500th chip's log save fails inside the frame loop. The chip is
// counted once: the frame that raised the error is not handed on again
// with the next chunk, while the frames after it still are.
TEST(LineCommReceiveData, AHandlerErrorKeepsOnlyTheFramesNotYetHandled) {
  testing::FakeStation fs;
  fs.st.AppDir = "/nonexistent-zek-folder/";
  fs.st.LogRunCount = 499;
  Bytes completed = Frame(InfoPacket(240, 6));
  Bytes started = Frame(InfoPacket(16));
  Bytes next = Frame(InfoPacket(32));
  Bytes chunk = Joined({completed, started, Bytes(next.begin(), next.begin() + 3)});
  EXPECT_THROW(Receive(fs, 1, chunk), FileError);
  EXPECT_EQ(fs.st.PortOKCount[1], 1);
  EXPECT_EQ(Pending(fs, 1), Joined({started, Bytes(next.begin(), next.begin() + 3)}));

  Receive(fs, 1, Bytes(next.begin() + 3, next.end()));
  EXPECT_EQ(fs.st.PortOKCount[1], 1);
  EXPECT_EQ(fs.st.TotalOKCount, 1);
  EXPECT_EQ(CountLines(fs, "Total OK Number is 1, NG is 0."), 1u);
  EXPECT_EQ(CountLines(fs, "Initial Programming Interface ...."), 1u);
  EXPECT_EQ(CountLines(fs, "Chip Blank Checking...."), 1u);
  EXPECT_EQ(fs.st.PortRxLen[1], 0);
}

TEST(LineCommReceiveData, TheLargestEscapedReplyFitsTheReceiveBuffer) {
  testing::FakeStation fs;
  fs.st.PortConnected[6] = 1;
  Bytes reply(8 + 4096, 0xC0);
  reply.push_back(0);
  reply.push_back(0);
  Bytes frame = Frame(reply);
  ASSERT_GT(frame.size(), 8192u);
  for (size_t at = 0; at < frame.size(); at += 2048) {
    size_t n = std::min<size_t>(2048, frame.size() - at);
    Receive(fs, 6, Bytes(frame.begin() + at, frame.begin() + at + n));
  }
  EXPECT_EQ(fs.st.PortRxLen[6], 0);  // cut and handed on whole
}

TEST(LineCommReceiveData, NoiseThatWouldOverflowTheBufferIsDropped) {
  testing::FakeStation fs;
  Bytes noise(2048, 0x55);
  for (size_t total = 0; total < 3 * kRxBufSize; total += noise.size()) Receive(fs, 9, noise);
  EXPECT_LE(fs.st.PortRxLen[9], kRxBufSize);
  // A frame after the noise still identifies the unit.
  Bytes identity = Frame(Identity());
  Receive(fs, 9, identity);
  EXPECT_EQ(fs.st.PortConnected[9], 1);
}

// Noise fills the buffer and a frame opens right behind it: the chunk
// that completes the frame would overflow, yet the frame is not lost.
TEST(LineCommReceiveData, AFrameOpenedBehindNoiseSurvivesTheOverflow) {
  testing::FakeStation fs;
  Bytes identity = Frame(Identity());
  const size_t opened = 20;
  Bytes first(kRxBufSize - opened, 0x55);
  std::copy(identity.begin(), identity.begin() + opened, first.end() - opened);
  for (size_t at = 0; at < first.size(); at += 2048) {
    size_t n = std::min<size_t>(2048, first.size() - at);
    Receive(fs, 4, Bytes(first.begin() + at, first.begin() + at + n));
  }
  ASSERT_EQ(fs.st.PortRxLen[4], first.size());
  ASSERT_GT(first.size() + identity.size() - opened, kRxBufSize);
  Receive(fs, 4, Bytes(identity.begin() + opened, identity.end()));
  EXPECT_EQ(fs.st.PortConnected[4], 1);
  EXPECT_EQ(fs.st.PortRxLen[4], 0);
}

// An unfinished frame longer than the buffer can hold is dropped whole.
TEST(LineCommReceiveData, AnOverlongOpenFrameIsDroppedAndTheNextFrameCounts) {
  testing::FakeStation fs;
  Bytes open_frame{0xC0};
  open_frame.insert(open_frame.end(), kRxBufSize, 0x55);
  for (size_t at = 0; at < open_frame.size(); at += 2048) {
    size_t n = std::min<size_t>(2048, open_frame.size() - at);
    Receive(fs, 8, Bytes(open_frame.begin() + at, open_frame.begin() + at + n));
    ASSERT_LE(fs.st.PortRxLen[8], kRxBufSize);
  }
  Bytes identity = Frame(Identity());
  Receive(fs, 8, identity);
  EXPECT_EQ(fs.st.PortConnected[8], 1);
}

// Slot 2 holds COM5, the last listed name: the healthy ports before it
// stay listed.
TEST(LineCommRequestHangup, ClosesThePortDropsItsOwnNameAndSaysSo) {
  testing::FakeStation fs;
  fs.port_list.items = {"COM1", "COM3", "COM5"};
  fs.ports[2].open = true;
  fs.ports[2].name = "COM5";
  fs.st.PortConnected[2] = 1;
  fs.st.PortBusy[2] = 1;
  fs.st.PortState[2] = 22;
  fs.st.PortTimeout[2] = 37;
  fs.st.PortRxLen[2] = 5;
  LineCommRequestHangup(fs.st, 2);
  EXPECT_FALSE(fs.ports[2].open);
  EXPECT_EQ(fs.st.PortConnected[2], 0);
  EXPECT_EQ(fs.port_list.items, (std::vector<std::string>{"COM1", "COM3"}));
  EXPECT_EQ(fs.port_list.text, "");
  EXPECT_EQ(fs.memo.lines, std::vector<std::string>{"> 10:15:02 C3: Port COM5 hung up!"});
  // The operation runs on until its time-out ends it.
  EXPECT_EQ(fs.st.PortBusy[2], 1);
  EXPECT_EQ(fs.st.PortState[2], 22);
  EXPECT_EQ(fs.st.PortTimeout[2], 37);
  // The pending bytes wait for the next search to clear them.
  EXPECT_EQ(fs.st.PortRxLen[2], 5);
}

// Both threads of a failed port ask for the hang-up: the second request,
// and one for a port that is not open, change nothing.
TEST(LineCommRequestHangup, OnlyAnOpenPortHangsUpAndTheLastOneEmptiesTheList) {
  testing::FakeStation fs;
  fs.port_list.items = {"COM1", "COM3"};
  fs.ports[0].name = "COM3";
  fs.ports[0].open = true;
  fs.ports[1].name = "COM1";
  LineCommRequestHangup(fs.st, 0);
  LineCommRequestHangup(fs.st, 0);
  LineCommRequestHangup(fs.st, 1);
  EXPECT_EQ(fs.port_list.items, std::vector<std::string>{"COM1"});
  ASSERT_EQ(fs.memo.lines, std::vector<std::string>{"> 10:15:02 C1: Port COM3 hung up!"});
  fs.ports[1].open = true;
  LineCommRequestHangup(fs.st, 1);
  EXPECT_TRUE(fs.port_list.items.empty());
  EXPECT_EQ(fs.port_list.text, "Please connect the device......");
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C2: Port COM1 hung up!");
}

}  // namespace
}  // namespace zek
