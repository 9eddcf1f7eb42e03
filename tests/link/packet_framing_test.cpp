#include "station/link/packet_framing.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Check16Packet, KnownAnswers) {
  Bytes one{0x01}, two{0x01, 0x00};
  EXPECT_EQ(Check16Packet(one, 0, 0), 0x0001);
  EXPECT_EQ(Check16Packet(two, 0, 1), 0x4A12);
  EXPECT_EQ(Check16Packet(two, 1, 0), 0);
  EXPECT_EQ(Check16Packet(two, 0x1000000, 0x1000000), 0);
  // The byte enters after the shift: 01 01 is (1 >> 1) ^ 1 ^ 0x4A12.
  Bytes ones{0x01, 0x01};
  EXPECT_EQ(Check16Packet(ones, 0, 1), 0x4A13);
}

TEST(NegSum16, NegatesTheSixteenBitSum) {
  Bytes zero_sum{0x80, 0x80, 0xFF, 0x01};  // 0x200 is not 0 mod 65536
  Bytes one{0x01};
  Bytes wraps(257, 0xFF);  // 257 * 255 = 65535
  wraps.push_back(0x01);   // 65536: 0 mod 65536
  EXPECT_EQ(NegSum16(one, 0, 0), 0xFFFFu);
  EXPECT_EQ(NegSum16(wraps, 0, static_cast<uint32_t>(wraps.size() - 1)), 0x10000u);
  EXPECT_EQ(NegSum16(zero_sum, 0, 3), 0x10000u - 0x200u);
  EXPECT_EQ(NegSum16(one, 1, 0), 0x10000u);  // empty range
  EXPECT_EQ(NegSum16(one, 0x1000000, 0x1000000), 0u);
}

TEST(SlipEncode, EscapesAndClosesWithFiveFillBytes) {
  Bytes packet{0xC0, 0xDB, 0x11};
  Bytes out(64, 0);
  uint16_t n = SlipEncode(packet, out, 3);
  ASSERT_EQ(n, 12);
  out.resize(n);
  EXPECT_EQ(out, (Bytes{0xC0, 0xDB, 0xDC, 0xDB, 0xDD, 0x11, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(SlipEncode, WorstCasePacketFitsAndNeverOverflowsASmallBuffer) {
  Bytes packet(4170, 0xC0);
  Bytes out(8347, 0);
  EXPECT_EQ(SlipEncode(packet, out, 4170), 8347);
  Bytes small(8346 + 16, 0xAA);
  std::span<uint8_t> bounded(small.data(), 8346);
  EXPECT_EQ(SlipEncode(packet, bounded, 4170), 0);
  for (size_t i = 8346; i < small.size(); ++i) EXPECT_EQ(small[i], 0xAA);
}

struct DecodeCase {
  const char* name;
  Bytes frame;
  uint8_t result;
  Bytes packet;      // decoded bytes; empty for a bad frame
  Bytes remaining;   // frame bytes left after the call
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class SlipDecodeCases : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(SlipDecodeCases, DecodesOneFrame) {
  const DecodeCase& c = GetParam();
  Bytes frame = c.frame;
  Bytes packet(16, 0xEE);
  uint16_t count = static_cast<uint16_t>(frame.size());
  uint16_t length = 0xFFFF;
  EXPECT_EQ(SlipDecode(frame, packet, length, count), c.result);
  ASSERT_EQ(length, c.packet.size());
  EXPECT_EQ(Bytes(packet.begin(), packet.begin() + length), c.packet);
  EXPECT_EQ(Bytes(frame.begin(), frame.begin() + count), c.remaining);
}

const Bytes kEight{1, 2, 3, 4, 5, 6, 7, 8};

INSTANTIATE_TEST_SUITE_P(
    Frames, SlipDecodeCases,
    ::testing::Values(
        DecodeCase{"plain", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, 0, kEight, {}},
        DecodeCase{"double_opening", {0xC0, 0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, 0, kEight, {}},
        DecodeCase{"noise_before", {0x55, 0xFF, 0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, 0, kEight, {}},
        DecodeCase{"escapes", {0xC0, 0xDB, 0xDC, 0xDB, 0xDD, 3, 4, 5, 6, 7, 8, 0xC0}, 0,
                   {0xC0, 0xDB, 3, 4, 5, 6, 7, 8}, {}},
        DecodeCase{"bytes_after_are_kept", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0, 0xC0, 9}, 0, kEight, {0xC0, 9}},
        DecodeCase{"seven_bytes", {0xC0, 1, 2, 3, 4, 5, 6, 7, 0xC0}, 32, {1, 2, 3, 4, 5, 6, 7}, {}},
        DecodeCase{"bad_escape", {0xC0, 0xDB, 0x41, 1, 2, 0xC0}, 32, {}, {1, 2, 0xC0}},
        DecodeCase{"no_delimiter", {1, 2, 3}, 32, {}, {}},
        DecodeCase{"no_closing", {0xC0, 1, 2, 3}, 32, {}, {}},
        DecodeCase{"escape_at_end", {0xC0, 1, 0xDB}, 32, {}, {}},
        DecodeCase{"empty", {}, 32, {}, {}},
        DecodeCase{"longer_than_packet_area",
                   {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 0xC0}, 32, {}, {0xC0}}),
    [](const auto& info) { return std::string(info.param.name); });

Bytes WithCheck(Bytes packet) {
  uint16_t c = Check16Packet(packet, 0, static_cast<uint32_t>(packet.size() - 1));
  packet.push_back(c & 0xFF);
  packet.push_back(c >> 8);
  return packet;
}

TEST(CheckPacket, StatusComesFromTheUnitOrTheCheck) {
  // Data length 1: the status is data byte 0 as sent.
  Bytes status52 = WithCheck({0x95, 0, 0, 0x45, 0x10, 1, 1, 0, 52});
  EXPECT_EQ(CheckPacket(status52, static_cast<uint16_t>(status52.size())), 52);
  Bytes status6 = WithCheck({0x95, 0, 0, 0x45, 0x10, 1, 2, 0, 6, 0});
  EXPECT_EQ(CheckPacket(status6, static_cast<uint16_t>(status6.size())), 6);
  // Data length 3 or more: 0 whatever data byte 0 holds.
  Bytes long_reply = WithCheck({0x95, 0, 0, 0x45, 0x10, 1, 3, 0, 0x44, 1, 2});
  EXPECT_EQ(CheckPacket(long_reply, static_cast<uint16_t>(long_reply.size())), 0);
  // One bit off in the check.
  Bytes damaged = status52;
  damaged.back() ^= 0x01;
  EXPECT_EQ(CheckPacket(damaged, static_cast<uint16_t>(damaged.size())), 35);
  // A length beyond the area is a data error, not a read past it.
  EXPECT_EQ(CheckPacket(status52, 200), 32);
}

}  // namespace
}  // namespace zek

namespace zek {
namespace {

// The framing rules one byte at a time, as a reference for the fast paths.
Bytes ReferenceFrame(const Bytes& packet) {
  Bytes out{kSlipEnd};
  for (uint8_t b : packet) {
    if (b == kSlipEnd) {
      out.insert(out.end(), {kSlipEsc, kSlipEscEnd});
    } else if (b == kSlipEsc) {
      out.insert(out.end(), {kSlipEsc, kSlipEscEsc});
    } else {
      out.push_back(b);
    }
  }
  out.push_back(kSlipEnd);
  out.insert(out.end(), 5, 0xFF);
  return out;
}

uint16_t ReferenceCheck16(const Bytes& bytes) {
  uint16_t r = 0;
  for (uint8_t b : bytes) r = static_cast<uint16_t>((r >> 1) ^ b ^ ((r & 1) ? 0x4A12 : 0));
  return r;
}

TEST(Framing, MatchesTheByteByByteRulesOnRandomPackets) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 400; ++round) {
    size_t size = 8 + rng() % 300;
    int escaped_percent = static_cast<int>(rng() % 4) * 33;
    Bytes packet(size);
    for (auto& b : packet) {
      b = static_cast<uint8_t>(rng());
      if (static_cast<int>(rng() % 100) < escaped_percent) b = (rng() & 1) ? kSlipEnd : kSlipEsc;
    }
    Bytes expected = ReferenceFrame(packet);
    Bytes out(2 * size + 7);
    uint16_t n = SlipEncode(packet, out, static_cast<uint16_t>(size));
    ASSERT_EQ(Bytes(out.begin(), out.begin() + n), expected) << "round " << round;

    Bytes frame = expected;
    Bytes decoded(size);
    uint16_t count = static_cast<uint16_t>(frame.size()), length = 0;
    ASSERT_EQ(SlipDecode(frame, decoded, length, count), 0) << "round " << round;
    EXPECT_EQ(decoded, packet) << "round " << round;
    EXPECT_EQ(count, 5);  // the fill bytes stay

    Bytes tight(size - 1);  // one byte short of the packet: bad, nothing written past it
    frame = expected;
    count = static_cast<uint16_t>(frame.size());
    EXPECT_EQ(SlipDecode(frame, tight, length, count), kResultDataError);
    EXPECT_EQ(length, 0);

    EXPECT_EQ(Check16Packet(packet, 0, static_cast<uint32_t>(size - 1)), ReferenceCheck16(packet));
    Bytes head(packet.begin() + 3, packet.end());
    EXPECT_EQ(Check16Packet(packet, 3, static_cast<uint32_t>(size - 1)), ReferenceCheck16(head));
  }
}

}  // namespace
}  // namespace zek
