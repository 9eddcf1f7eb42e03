#include "filelib/intel_hex_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/filelib/image_buffer.h"
#include "tests/filelib/record_lines.h"
#include "tests/support/case_names.h"

namespace {

using namespace rhbtest;

enum class P { Plain, F18, F33, Offset };

uint8_t ParseWith(P p, const std::string& line, uint32_t base, uint8_t* buf, rhb::HexRecordState& st) {
  switch (p) {
    case P::Plain: return rhb::ParseHexRecord(line, buf, st);
    case P::F18: return rhb::ParseHexRecord18Fx(line, buf, st);
    case P::F33: return rhb::ParseHexRecord33Fx(line, buf, st);
    case P::Offset: return rhb::ParseHexRecordOffset(line, base, buf, st);
  }
  return 0xFF;
}

struct HexCase {
  const char* name;
  P parser;
  uint32_t base;
  std::vector<std::string> lines;
  std::vector<int> codes;  // one per line
  uint32_t lowest;
  uint32_t highest;
  std::vector<Stored> stored;  // everything that changed in the image
  uint32_t sum = 0;
};

const std::vector<uint8_t> k16 = Ramp(16);

std::vector<HexCase> Cases() {
  return {
      {"DataRecordStored", P::Plain, 0, {IntelLine(0, 0x0100, k16)}, {0}, 0x100, 0x10F, {{0x100, k16}}},
      {"WrongChecksumStoresFirst", P::Plain, 0, {IntelLine(0, 0x0100, k16, -1)}, {4}, 0x100, 0x10F,
       {{0x100, k16}}},
      {"NoColon", P::Plain, 0, {"10010000" + IntelLine(0, 0, k16).substr(9)}, {1}, 0xFFFFFFFF, 0, {}},
      {"EmptyRecordAnyType", P::Plain, 0, {":00000001ff", ":0000000AXX"}, {0, 0}, 0xFFFFFFFF, 0, {}},
      {"SegmentFieldNotZero", P::Plain, 0, {":020010021000DC"}, {3}, 0xFFFFFFFF, 0, {}},
      {"LinearFieldNotZero", P::F18, 0, {":020010040001E9"}, {3}, 0xFFFFFFFF, 0, {}},
      {"BaseRecordBadChecksum", P::Plain, 0, {IntelBase(4, 1).substr(0, 13) + "00",
       IntelLine(0, 0, {0xAA})}, {4, 0}, 0x10000, 0x10000, {{0x10000, {0xAA}}}},
      {"HighLinearOutsidePlainWindow", P::Plain, 0, {IntelBase(4, 0x00F0), IntelLine(0, 0x1234, k16)},
       {0, 6}, 0xF01234, 0xF01243, {}},
      {"HighLinearStored18Fx", P::F18, 0, {IntelBase(4, 0x00F0), IntelLine(0, 0x1234, k16)}, {0, 0},
       0xF1234, 0xF1243, {{0xF1234, k16}}},
      {"SegmentDropsLinearPlain", P::Plain, 0,
       {IntelBase(4, 0x0001), IntelBase(2, 0x1000), IntelLine(0, 0x0000, {0x11})}, {0, 0, 0}, 0x10000,
       0x10000, {{0x10000, {0x11}}}},
      {"SegmentAddsToLinear18Fx", P::F18, 0,
       {IntelBase(4, 0x0001), IntelBase(2, 0x1000), IntelLine(0, 0x0000, {0x11})}, {0, 0, 0}, 0x20000,
       0x20000, {{0x20000, {0x11}}}},
      {"SegmentAddsToLinear33Fx", P::F33, 0,
       {IntelBase(4, 0x0001), IntelBase(2, 0x1000), IntelLine(0, 0x0000, {0x11})}, {0, 0, 0}, 0x20000,
       0x20000, {{0x20000, {0x11}}}},
      {"SegmentAddsToLinearOffset", P::Offset, 0x10000,
       {IntelBase(4, 0x0001), IntelBase(2, 0x1000), IntelLine(0, 0x0000, {0x11})}, {0, 0, 0}, 0x20000,
       0x20000, {{0x10000, {0x11}}}, 0x11},
      {"StartAndEndTypesUnchecked", P::Plain, 0, {":04000005000000CD00", ":0400000300000000FF", ":01000001FFFF"},
       {0, 0, 0}, 0xFFFFFFFF, 0, {}},
      {"UnknownTypes", P::Plain, 0, {IntelLine(6, 0, {1}), IntelLine(0xFF, 0, {1})}, {5, 5}, 0xFFFFFFFF, 0, {}},
      {"OffsetBelowBaseIgnored", P::Offset, 0x10000, {IntelLine(0, 0xFFF0, k16, 5)}, {0}, 0xFFFFFFFF, 0, {}},
      {"OffsetBeyondWindowSetsHighest", P::Offset, 0x10000,
       {IntelBase(4, 0x0001), IntelLine(0, 0x0010, {7}), IntelBase(4, 0x0041), IntelLine(0, 0x0000, k16)},
       {0, 0, 0, 6}, 0x10010, 0x410000, {{0x10, {7}}}, 7},
      {"OffsetStoresAboveBaseWithSum", P::Offset, 0x4000, {IntelLine(0, 0x4010, {0x80, 0x90})}, {0}, 0x4010,
       0x4011, {{0x10, {0x80, 0x90}}}, 0x110},
      {"ShortDataRecordStoresNothing", P::Plain, 0, {IntelLine(0, 0x0100, k16).substr(0, 30)}, {4}, 0xFFFFFFFF,
       0, {}},
      {"ShortBaseRecordKeepsBase", P::F18, 0, {":02000004", IntelLine(0, 0x10, {1})}, {4, 0}, 0x10, 0x10,
       {{0x10, {1}}}},
      {"HeaderOnlyLine", P::Plain, 0, {":10"}, {4}, 0xFFFFFFFF, 0, {}},
      {"TailPastPlainWindowDropped", P::Plain, 0, {IntelBase(4, 0x003F), IntelLine(0, 0xFFF8, k16)}, {0, 0},
       0x3FFFF8, 0x400007, {{0x3FFFF8, Ramp(8)}}},
      {"TailPastOffsetWindowDropped", P::Offset, 0x100, {IntelBase(4, 0x0040), IntelLine(0, 0x00F8, k16)},
       {0, 0}, 0x4000F8, 0x400107, {{0x3FFFF8, Ramp(8)}}, 36},
      {"18FxNothingAt16MiB", P::F18, 0, {IntelBase(4, 0x1000), IntelLine(0, 0x0000, k16)}, {0, 6}, 0x1000000,
       0x100000F, {}},
      {"18FxTailPast16MiBDropped", P::F18, 0, {IntelBase(4, 0x0FF0), IntelLine(0, 0xFFF8, k16)}, {0, 0},
       0xFFFFF8, 0x1000007, {{0xFFFFF8, Ramp(8)}}},
      {"33FxNothingAt16MiB", P::F33, 0,
       {IntelBase(4, 0x00FE), IntelBase(2, 0xF000), IntelLine(0, 0x1000, k16)}, {0, 0, 6}, 0x10D1000,
       0x10D100F, {}},
      // Nothing runs past the top of the address space: the end stops at
      // 0xFFFFFFFF and no byte wraps to a low address.
      {"PlainTailPastTopEndsAtTop", P::Plain, 0, {IntelBase(4, 0xFFFF), IntelLine(0, 0xFFF8, k16)}, {0, 6},
       0xFFFFFFF8, 0xFFFFFFFF, {}},
      {"OffsetTailPastTopDropped", P::Offset, 0xFFFFFF00, {IntelBase(4, 0xFFFF), IntelLine(0, 0xFFF8, k16)},
       {0, 0}, 0xFFFFFFF8, 0xFFFFFFFF, {{0xF8, Ramp(8)}}, 36},
      {"OffsetBasesPastTopOutside", P::Offset, 0,
       {IntelBase(4, 0xFFFF), IntelBase(2, 0xFFFF), IntelLine(0, 0x0010, k16)}, {0, 0, 6}, 0xFFFFFFFF,
       0xFFFFFFFF, {}},
  };
}

class HexRecordTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexRecordTest, CodesSpanAndImage) {
  const HexCase& c = GetParam();
  ImageBuffer image;
  rhb::HexRecordState st;
  for (size_t i = 0; i < c.lines.size(); ++i)
    EXPECT_EQ(ParseWith(c.parser, c.lines[i], c.base, image.data(), st), c.codes[i]) << "line " << i;
  EXPECT_EQ(st.span.lowest, c.lowest);
  EXPECT_EQ(st.span.highest, c.highest);
  ExpectOnlyStored(image, c.stored);
  if (c.parser == P::Offset) {
    EXPECT_EQ(st.sum, c.sum);
  }
}

INSTANTIATE_TEST_SUITE_P(Records, HexRecordTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct FoldCase {
  P parser;
  uint16_t value;
  uint32_t linear;
};

class HexFoldTest : public ::testing::TestWithParam<FoldCase> {};

TEST_P(HexFoldTest, LinearBaseAfterType04) {
  const FoldCase& c = GetParam();
  rhb::HexRecordState st;
  st.segment = 0x120;
  uint8_t unused = 0;
  ASSERT_EQ(ParseWith(c.parser, IntelBase(4, c.value), 0, &unused, st), 0);
  EXPECT_EQ(st.linear, c.linear);
  EXPECT_EQ(st.segment, c.parser == P::Plain ? 0u : 0x120u);
}

std::string FoldName(const ::testing::TestParamInfo<FoldCase>& info) {
  static const char* const kParsers[] = {"Plain", "F18", "F33", "Offset"};
  std::string name = kParsers[static_cast<int>(info.param.parser)];
  name += '_';
  name += ::zek::testing::Hex(info.param.value);
  return name;
}

INSTANTIATE_TEST_SUITE_P(Folding, HexFoldTest,
                         ::testing::Values(FoldCase{P::F18, 0x0030, 0x30000}, FoldCase{P::F18, 0x00F0, 0xF0000},
                                           FoldCase{P::F18, 0x0010, 0x100000}, FoldCase{P::F33, 0x1FC0, 0xC0000},
                                           FoldCase{P::F33, 0x01F0, 0xF0000}, FoldCase{P::F33, 0x0100, 0xF0000},
                                           FoldCase{P::F33, 0x00FF, 0xE0000}, FoldCase{P::F33, 0x00FE, 0xFE0000},
                                           FoldCase{P::Plain, 0x00F0, 0xF00000},
                                           FoldCase{P::Offset, 0x1FC0, 0x1FC00000}),
                         FoldName);

TEST(HexRecordTest, SegmentRecordSetsSegmentTimesSixteen) {
  rhb::HexRecordState st;
  st.linear = 0x50000;
  uint8_t unused = 0;
  ASSERT_EQ(rhb::ParseHexRecord(IntelBase(2, 0x1234), &unused, st), 0);
  EXPECT_EQ(st.segment, 0x12340u);
  EXPECT_EQ(st.linear, 0u);
}

}  // namespace
