#include "station/link/frame_extract.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/fake_views.h"

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

// Appends a chunk to a slot's pending bytes, as the receive handler does.
void Append(StationState& st, int port, const Bytes& chunk) {
  std::memcpy(st.PortRxBuf[port].data() + st.PortRxLen[port], chunk.data(), chunk.size());
  st.PortRxLen[port] = static_cast<uint16_t>(st.PortRxLen[port] + chunk.size());
}

Bytes Pending(StationState& st, int port) {
  return Bytes(st.PortRxBuf[port].data(), st.PortRxBuf[port].data() + st.PortRxLen[port]);
}

std::vector<Bytes> Cut(StationState& st, int port) {
  std::vector<Bytes> frames;
  CutPendingFrames(st, port, [&](uint16_t n) {
    frames.emplace_back(st.PortFrameBuf[port].data(), st.PortFrameBuf[port].data() + n);
  });
  return frames;
}

struct ExtractCase {
  const char* name;
  Bytes pending;
  std::vector<Bytes> frames;
  Bytes kept;
};

void PrintTo(const ExtractCase& c, std::ostream* os) { *os << c.name; }

class ExtractCases : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractCases, CutsFramesOnEverySlotAndKeepsTheTail) {
  const ExtractCase& c = GetParam();
  for (int port = 0; port < kPortSlots; ++port) {
    testing::FakeStation fs;
    Append(fs.st, port, c.pending);
    EXPECT_EQ(Cut(fs.st, port), c.frames) << "port " << port;
    EXPECT_EQ(Pending(fs.st, port), c.kept) << "port " << port;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, ExtractCases,
    ::testing::Values(
        ExtractCase{"noise_before", {0xFF, 0xFF, 0xC0, 1, 2, 0xC0}, {{0xC0, 1, 2, 0xC0}}, {}},
        ExtractCase{"delimiter_run", {0xC0, 0xC0, 1, 2, 0xC0}, {{0xC0, 1, 2, 0xC0}}, {}},
        ExtractCase{"long_delimiter_run", {0xC0, 0xC0, 0xC0, 0xC0, 1, 0xC0}, {{0xC0, 1, 0xC0}}, {}},
        ExtractCase{"back_to_back", {0xC0, 1, 0xC0, 0xC0, 2, 0xC0}, {{0xC0, 1, 0xC0}, {0xC0, 2, 0xC0}}, {}},
        ExtractCase{"unclosed", {0xC0, 1, 2}, {}, {0xC0, 1, 2}},
        ExtractCase{"lone_delimiter", {0x11, 0xC0}, {}, {0x11, 0xC0}},
        ExtractCase{"no_delimiter", {1, 2, 3}, {}, {1, 2, 3}},
        ExtractCase{"two_and_a_half",
                    {0xC0, 1, 0xC0, 0xC0, 2, 0xC0, 0xEE, 0xC0, 3, 4},
                    {{0xC0, 1, 0xC0}, {0xC0, 2, 0xC0}},
                    {0xEE, 0xC0, 3, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtractRxFrame, PositionPointsPastTheClosingDelimiter) {
  testing::FakeStation fs;
  Append(fs.st, 3, {0xFF, 0xFF, 0xC0, 1, 2, 0xC0});
  uint16_t position = 0, length = 0;
  ASSERT_TRUE(ExtractRxFrame(fs.st, 3, position, length));
  EXPECT_EQ(length, 4);
  EXPECT_EQ(position, 6);
  EXPECT_FALSE(ExtractRxFrame(fs.st, 3, position, length));
}

TEST(CutPendingFrames, AFrameSplitAcrossChunksIsFoundWhole) {
  testing::FakeStation fs;
  Append(fs.st, 0, {0xC0, 1, 2});
  EXPECT_TRUE(Cut(fs.st, 0).empty());
  Append(fs.st, 0, {0xC0});
  EXPECT_EQ(Cut(fs.st, 0), (std::vector<Bytes>{{0xC0, 1, 2, 0xC0}}));
  EXPECT_EQ(fs.st.PortRxLen[0], 0);
}

TEST(CutPendingFrames, EveryChunkingOfAStreamGivesTheSameFrames) {
  const Bytes stream{0x00, 0xC0, 1, 2, 3, 0xC0, 0xC0, 0xC0, 4, 0xDB, 0xDC, 0xC0, 0x77, 0xC0, 5, 0xC0};
  const std::vector<Bytes> expected{{0xC0, 1, 2, 3, 0xC0}, {0xC0, 4, 0xDB, 0xDC, 0xC0}, {0xC0, 5, 0xC0}};
  for (size_t split = 1; split < stream.size(); ++split) {
    testing::FakeStation fs;
    Append(fs.st, 5, Bytes(stream.begin(), stream.begin() + split));
    std::vector<Bytes> frames = Cut(fs.st, 5);
    Append(fs.st, 5, Bytes(stream.begin() + split, stream.end()));
    for (Bytes& f : Cut(fs.st, 5)) frames.push_back(f);
    EXPECT_EQ(frames, expected) << "split at " << split;
  }
}

TEST(ExtractRxFrame, DropsAFrameLongerThanTheFrameBuffer) {
  Bytes pending{0xC0, 1, 2, 3, 4, 5, 6, 0xC0, 0xC0, 9, 0xC0};
  Bytes frame(5 + 4, 0xAA);
  std::span<uint8_t> bounded(frame.data(), 5);
  uint16_t position = 0, length = 0;
  ASSERT_TRUE(ExtractRxFrame(pending, bounded, position, length));
  EXPECT_EQ(Bytes(frame.begin(), frame.begin() + length), (Bytes{0xC0, 9, 0xC0}));
  for (size_t i = 5; i < frame.size(); ++i) EXPECT_EQ(frame[i], 0xAA);
}

}  // namespace
}  // namespace zek
