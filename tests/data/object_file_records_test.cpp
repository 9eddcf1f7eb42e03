#include "station/data/object_file_records.h"

#include <gtest/gtest.h>

#include "station/data/byte_sums.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

struct PairCase {
  char high, low;
  uint8_t value;
};

TEST(HexPairToByte, ConvertsEachCharacterByItsOwnRuleWithoutChecking) {
  const PairCase cases[] = {
      {'0', '0', 0x00}, {'9', '9', 0x99}, {'A', 'F', 0xAF}, {'a', 'f', 0xAF}, {'F', 'f', 0xFF},
      {'7', 'e', 0x7E},
      {'G', '0', 0x00},  // G is 16: 16 x 16 = 256, modulo 256
      {'0', 'G', 0x10},  // 0 x 16 + 16
      {'Z', 'z', 0x53},  // 35 x 16 + 35 = 595 = 0x253
      {'g', '1', 0x01},  // g is 16 as well
      {' ', '0', 0x00},  // blank is 32 - 48 = -16: -256 modulo 256
      {'0', ' ', 0xF0},
      {'/', '/', 0xEF},  // -1 x 16 - 1 = -17
      {'\xFF', '0', 0xF0},  // 207 x 16 modulo 256
  };
  for (const PairCase& c : cases) {
    EXPECT_EQ(HexPairToByte(c.high, c.low), c.value) << c.high << c.low;
  }
}

TEST(ImageSums, EmptyAndFarRangesSumToZero) {
  testing::FakeStation fs;
  fs.st.MainBuffer[4] = 1;
  fs.st.MainBuffer[5] = 2;
  EXPECT_EQ(SumBytes(fs.st.MainBuffer.span(), 4, 5), 3u);
  EXPECT_EQ(SumBytes(fs.st.MainBuffer.span(), 5, 4), 0u);
  EXPECT_EQ(SumBytes(fs.st.MainBuffer.span(), 0x1000000, 0x1000010), 0u);
  EXPECT_EQ(Check16(fs.st.MainBuffer.span(), 5, 4), 0);
  EXPECT_EQ(Check16(fs.st.MainBuffer.span(), 0x1000000, 0x1000010), 0);
}

}  // namespace
}  // namespace zek
