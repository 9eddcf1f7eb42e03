#include "tools/unit-sim/frame_receiver.h"

#include <gtest/gtest.h>

#include <random>

#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {
namespace {

using Bytes = std::vector<uint8_t>;

struct ReceiveCase {
  const char* name;
  Bytes stream;
  std::vector<Bytes> packets;
  uint32_t dropped;
};

class FrameReceiverCases : public ::testing::TestWithParam<ReceiveCase> {};

std::vector<Bytes> FeedAll(FrameReceiver& r, const Bytes& stream) {
  std::vector<Bytes> got;
  r.Feed(stream, [&](std::span<const uint8_t> p) { got.emplace_back(p.begin(), p.end()); });
  return got;
}

TEST_P(FrameReceiverCases, CutsAndDecodes) {
  FrameReceiver r;
  EXPECT_EQ(FeedAll(r, GetParam().stream), GetParam().packets);
  EXPECT_EQ(r.DroppedFrames(), GetParam().dropped);
}

TEST_P(FrameReceiverCases, SameResultWhenFedByteByByte) {
  FrameReceiver r;
  std::vector<Bytes> got;
  for (uint8_t b : GetParam().stream) {
    r.Feed(std::span(&b, 1), [&](std::span<const uint8_t> p) { got.emplace_back(p.begin(), p.end()); });
  }
  EXPECT_EQ(got, GetParam().packets);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FrameReceiverCases,
    ::testing::Values(
        ReceiveCase{"plain", {0xC0, 1, 2, 3, 0xC0}, {{1, 2, 3}}, 0},
        ReceiveCase{"fill_and_noise_between_frames",
                    {0x55, 0xFF, 0xC0, 1, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0, 2, 0xC0},
                    {{1}, {2}},
                    0},
        ReceiveCase{"doubled_opening_delimiter", {0xC0, 0xC0, 7, 8, 0xC0}, {{7, 8}}, 0},
        ReceiveCase{"escapes", {0xC0, 0xDB, 0xDC, 0xDB, 0xDD, 0x11, 0xC0}, {{0xC0, 0xDB, 0x11}}, 0},
        ReceiveCase{"bad_escape_drops_frame_then_recovers",
                    {0xC0, 0xDB, 0x41, 5, 0xC0, 0xFF, 0xC0, 6, 0xC0},
                    {{6}},
                    1},
        ReceiveCase{"escape_right_before_close_is_dropped", {0xC0, 1, 0xDB, 0xC0}, {}, 1},
        ReceiveCase{"unterminated_frame_yields_nothing", {0xC0, 1, 2, 3}, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameReceiver, DropsOverlongFrameWithoutWritingPastItsBuffer) {
  FrameReceiver r;
  Bytes stream{0xC0};
  stream.insert(stream.end(), FrameReceiver::kMaxPacket + 100, 0x42);
  stream.insert(stream.end(), {0xC0, 0xC0, 9, 0xC0});
  auto got = FeedAll(r, stream);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], Bytes{9});
  EXPECT_EQ(r.DroppedFrames(), 1u);
}

TEST(FrameReceiver, FramesSplitAtRandomBoundariesComeOutWhole) {
  std::mt19937 rng(7);
  Bytes stream, expected_tail;
  std::vector<Bytes> expected;
  for (int f = 0; f < 20; ++f) {
    Bytes p(1 + rng() % 300);
    for (auto& b : p) b = static_cast<uint8_t>(rng());
    expected.push_back(p);
    stream.push_back(0xC0);
    for (uint8_t b : p) {
      if (b == 0xC0) stream.insert(stream.end(), {0xDB, 0xDC});
      else if (b == 0xDB) stream.insert(stream.end(), {0xDB, 0xDD});
      else stream.push_back(b);
    }
    stream.insert(stream.end(), {0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  }
  FrameReceiver r;
  std::vector<Bytes> got;
  for (size_t at = 0; at < stream.size();) {
    size_t n = std::min<size_t>(1 + rng() % 64, stream.size() - at);
    r.Feed(std::span(stream).subspan(at, n), [&](std::span<const uint8_t> p) { got.emplace_back(p.begin(), p.end()); });
    at += n;
  }
  EXPECT_EQ(got, expected);
}

TEST(LineCheck16, KnownAnswers) {
  const uint8_t one[] = {0x01}, two[] = {0x01, 0x00}, ones[] = {0x01, 0x01};
  EXPECT_EQ(LineCheck16(one), 0x0001);
  EXPECT_EQ(LineCheck16(two), 0x4A12);
  EXPECT_EQ(LineCheck16(ones), 0x4A13);
  EXPECT_EQ(LineCheck16({}), 0);
}

}  // namespace
}  // namespace zek::sim
