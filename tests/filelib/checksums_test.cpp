#include "filelib/DorvikRHB.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The eight exports in one row: a known answer for each.
struct SumCase {
  const char* name;
  std::vector<uint8_t> bytes;
  uint32_t start;
  uint32_t end;
  uint32_t binary, dword, raw_dword, raw16, accumulate, random_8005, kelpra, nec;
};

std::vector<SumCase> Cases() {
  return {
      {"OneByte", {0x01}, 0, 0, 0xFFFF, 0xFFFFFFFF, 1, 1, 0xFFFF, 1, 1, 1},
      {"OneThenZero", {0x01, 0x00}, 0, 1, 0xFFFF, 0xFFFFFFFF, 1, 1, 0xFFFF, 0x8005, 0x4A12, 0x1B00},
      {"Zeros", std::vector<uint8_t>(64, 0), 0, 63, 0x10000, 0, 0, 0, 0x10000, 0, 0, 0},
      {"EndBelowStart", {1, 2, 3}, 2, 1, 0x10000, 0, 0, 0, 0x10000, 0, 0, 0},
      {"SumPast16Bits", std::vector<uint8_t>(0x102, 0xFF), 0, 0x101, 0xFF02, 0xFFFEFF02, 0x100FE, 0xFE, 0x1FF02,
       0xC60F, 0x661B, 0x1164},
      {"StartAtLimit", std::vector<uint8_t>(0x1000001, 1), 0x1000000, 0x1000000, 0, 0, 0, 0, 0, 0, 0, 1},
      {"EndAboveLimit", std::vector<uint8_t>(0x1000001, 1), 0xFFFFFF, 0x1000000, 0, 0, 0, 0, 0, 0, 0, 0x1B01},
  };
}

class ChecksumTest : public ::testing::TestWithParam<SumCase> {};

TEST_P(ChecksumTest, EveryVariant) {
  const SumCase& c = GetParam();
  const uint8_t* b = c.bytes.data();
  EXPECT_EQ(GetBinaryCheckSum(b, c.start, c.end), c.binary);
  EXPECT_EQ(GetBinaryCheckSumDWord(b, c.start, c.end), c.dword);
  EXPECT_EQ(GetBinaryRawACCxSumDWord(b, c.start, c.end), c.raw_dword);
  EXPECT_EQ(GetBinaryRawACCxSum(b, c.start, c.end), c.raw16);
  EXPECT_EQ(GetAccumulateCheckSum(b, c.start, c.end), c.accumulate);
  EXPECT_EQ(GetRandomCheckSum(b, c.start, c.end, 0xABCD8005), c.random_8005);
  EXPECT_EQ(GetKelpraCheckSum(b, c.start, c.end), c.kelpra);
  EXPECT_EQ(GetNecCheckSum(b, c.start, c.end), c.nec);
}

INSTANTIATE_TEST_SUITE_P(Sums, ChecksumTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChecksumTest, AccumulateInvertsOnlyLow16Bits) {
  // 0x12345 as a sum: 292 bytes of 0xFF give 0x122DC, plus 0x69.
  std::vector<uint8_t> bytes(292, 0xFF);
  bytes.push_back(0x69);
  ASSERT_EQ(GetBinaryRawACCxSumDWord(bytes.data(), 0, static_cast<uint32_t>(bytes.size() - 1)), 0x12345u);
  EXPECT_EQ(GetAccumulateCheckSum(bytes.data(), 0, static_cast<uint32_t>(bytes.size() - 1)), 0x1DCBBu);
}

TEST(ChecksumTest, KelpraMatchesTheShiftXorRule) {
  std::vector<uint8_t> bytes = {0x12, 0x34, 0x56, 0x78, 0x9A};
  uint16_t s = 0;
  for (uint8_t b : bytes) s = static_cast<uint16_t>((s >> 1) ^ b ^ ((s & 1) ? 0x4A12 : 0));
  EXPECT_EQ(GetKelpraCheckSum(bytes.data(), 0, 4), s);
}

}  // namespace
