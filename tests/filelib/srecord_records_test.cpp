#include "filelib/srecord_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/filelib/image_buffer.h"
#include "tests/filelib/record_lines.h"

namespace {

using namespace rhbtest;

struct SCase {
  const char* name;
  bool offset;
  uint32_t base;
  std::vector<std::string> lines;
  std::vector<int> codes;
  uint32_t lowest;
  uint32_t highest;
  std::vector<Stored> stored;
  uint32_t sum;
};

const std::vector<uint8_t> k16 = Ramp(16);

std::vector<SCase> Cases() {
  return {
      {"S1SixteenBytes", false, 0, {SLine('1', 0, k16)}, {0}, 0, 15, {{0, k16}}, 136},
      {"S1ChecksumOneLowStoresFirst", false, 0, {SLine('1', 0, k16, -1)}, {4}, 0, 15, {{0, k16}}, 136},
      {"S2AndS3", false, 0, {SLine('2', 0x123456, {1, 2}), SLine('3', 0x00ABCDEF, {3})}, {0, 0}, 0x123456,
       0xABCDEF, {{0x123456, {1, 2}}, {0xABCDEF, {3}}}, 6},
      {"S3At16MiBOutside", false, 0, {SLine('3', 0x01000000, {9})}, {6}, 0xFFFFFFFF, 0, {}, 0},
      {"RefusedTypes", false, 0, {"S4030000FC", "S6030000FC", "SX030000FC", "S 030000FC", "S"}, {2, 2, 2, 2, 2},
       0xFFFFFFFF, 0, {}, 0},
      {"UncheckedTypes", false, 0, {"S0030000FF", "S5030000XX", "S7", "S8ZZ", "S9030000FC"}, {0, 0, 0, 0, 0},
       0xFFFFFFFF, 0, {}, 0},
      {"NoS", false, 0, {"s1130000"}, {1}, 0xFFFFFFFF, 0, {}, 0},
      {"DescendingKeepsHighest", false, 0, {SLine('1', 0x200, {1, 2}), SLine('1', 0x100, {3})}, {0, 0}, 0x100,
       0x201, {{0x200, {1, 2}}, {0x100, {3}}}, 6},
      {"CountWithoutDataIsEmpty", false, 0, {"S1030000FC", "S2040000", "S305"}, {0, 0, 0}, 0xFFFFFFFF, 0, {}, 0},
      {"LineShorterThanCount", false, 0, {SLine('1', 0x10, k16).substr(0, 20), "S11"}, {4, 4}, 0xFFFFFFFF, 0, {},
       0},
      {"TailPast16MiBDropped", false, 0, {SLine('3', 0xFFFFFC, Ramp(8))}, {0}, 0xFFFFFC, 0x1000003,
       {{0xFFFFFC, Ramp(4)}}, 10},
      {"OffsetBelowBaseIgnored", true, 0x4000, {SLine('1', 0x3FF0, k16, 3)}, {0}, 0xFFFFFFFF, 0, {}, 0},
      {"OffsetLandsAboveBase", true, 0x4000, {SLine('1', 0x4010, {0x55, 0x66})}, {0}, 0x4010, 0x4011,
       {{0x10, {0x55, 0x66}}}, 0xBB},
      {"OffsetBeyondWindowSetsHighest", true, 0x4000, {SLine('1', 0x4010, {1}), SLine('3', 0x404000, {2})},
       {0, 6}, 0x4010, 0x404000, {{0x10, {1}}}, 1},
      {"OffsetTailPastWindowDropped", true, 0x10, {SLine('3', 0x400008, Ramp(16))}, {0}, 0x400008, 0x400017,
       {{0x3FFFF8, Ramp(8)}}, 36},
      // Nothing runs past the top of the address space: the end stops at
      // 0xFFFFFFFF and the bytes beyond it are dropped.
      {"OffsetTailPastTopDropped", true, 0xFFFFFF00, {SLine('3', 0xFFFFFFF8, Ramp(16))}, {0}, 0xFFFFFFF8,
       0xFFFFFFFF, {{0xF8, Ramp(8)}}, 36},
  };
}

class SRecordTest : public ::testing::TestWithParam<SCase> {};

TEST_P(SRecordTest, CodesSpanAndImage) {
  const SCase& c = GetParam();
  ImageBuffer image;
  rhb::SRecordState st;
  for (size_t i = 0; i < c.lines.size(); ++i) {
    uint8_t code = c.offset ? rhb::ParseSRecordOffset(c.lines[i], c.base, image.data(), st)
                            : rhb::ParseSRecord(c.lines[i], image.data(), st);
    EXPECT_EQ(code, c.codes[i]) << "line " << i << ": " << c.lines[i];
  }
  EXPECT_EQ(st.span.lowest, c.lowest);
  EXPECT_EQ(st.span.highest, c.highest);
  ExpectOnlyStored(image, c.stored);
  EXPECT_EQ(st.sum, c.sum);
}

INSTANTIATE_TEST_SUITE_P(Records, SRecordTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SRecordTest, CountThirteenLineStoresSixteenBytes) {
  ImageBuffer image;
  rhb::SRecordState st;
  EXPECT_EQ(rhb::ParseSRecord("S1130000000102030405060708090A0B0C0D0E0F74", image.data(), st), 0);
  EXPECT_EQ(rhb::ParseSRecord("S1130000000102030405060708090A0B0C0D0E0F73", image.data(), st), 4);
  EXPECT_EQ(image.At(0, 16), Ramp(16, 0));
  EXPECT_EQ(st.address, 0u);
}

}  // namespace
