#include "station/data/option_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "station/data/chip_memory_map.h"

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

// A BS32 part's freshly mapped option image.
class OptionBlockTest : public ::testing::Test {
 protected:
  OptionBlockTest() {
    st.ChipClassCode = 0x10;
    st.ChipFlashSizeKB = 64;
    SetMemoryMap(st);
  }
  Bytes Block() const {
    return Bytes(st.OptionBuffer.begin() + kChipOptionBlockOffset,
                 st.OptionBuffer.begin() + kChipOptionBlockOffset + kChipOptionBlockSize);
  }
  StationState st;
};

const Bytes kErased = {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
                       0xFF, 0xFF, 0x00, 0x00, 0xA5, 0x07, 0x5A, 0xF8, 0xFF, 0xFF, 0x00, 0x00};

TEST_F(OptionBlockTest, ErasedBlockReadsAndStoresBackUnchanged) {
  ASSERT_EQ(Block(), kErased);
  const OptionChoice choice = ReadOptionChoice(st);
  EXPECT_EQ(choice.RopItem, 0);
  EXPECT_EQ(choice.IwdgItem, 1);
  EXPECT_EQ(choice.Wrp, (std::array<uint8_t, 8>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(choice.InfWrpItem, 1);
  EXPECT_FALSE(OptionBlockNeedsWrite(st));
  StoreOptionChoice(st, choice);
  EXPECT_EQ(Block(), kErased);
  EXPECT_FALSE(OptionBlockNeedsWrite(st));
}

TEST_F(OptionBlockTest, WrpBytesSitInTheirGroups) {
  const size_t expected[8] = {500, 501, 496, 497, 492, 493, 488, 489};
  OptionChoice choice = ReadOptionChoice(st);
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(WrpOffset(n), expected[n]) << "WRP" << n;
    choice.Wrp[n] = static_cast<uint8_t>(0x10 + n);
  }
  StoreOptionChoice(st, choice);
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(st.OptionBuffer[expected[n]], 0x10 + n);
    EXPECT_EQ(st.OptionBuffer[expected[n] + 2], static_cast<uint8_t>(~(0x10 + n)));
  }
  EXPECT_EQ(ReadOptionChoice(st).Wrp, choice.Wrp);
}

struct ChoiceCase {
  const char* name;
  void (*change)(OptionChoice&);
  std::vector<std::pair<size_t, uint8_t>> bytes;  // offset, value after storing
  bool needs_write;
};

class OptionChoiceTest : public OptionBlockTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(OptionChoiceTest, StoresComplementsAndDecidesTheWrite) {
  OptionChoice choice = ReadOptionChoice(st);
  GetParam().change(choice);
  StoreOptionChoice(st, choice);
  for (auto [offset, value] : GetParam().bytes) EXPECT_EQ(st.OptionBuffer[offset], value) << "offset " << offset;
  EXPECT_EQ(OptionBlockNeedsWrite(st), GetParam().needs_write);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OptionChoiceTest,
    ::testing::Values(
        ChoiceCase{"ReadProtection", [](OptionChoice& c) { c.RopItem = 1; }, {{504, 0x5A}, {506, 0xA5}}, true},
        ChoiceCase{"Wrp0", [](OptionChoice& c) { c.Wrp[0] = 0x0F; }, {{500, 0x0F}, {501, 0xFF}, {502, 0xF0}, {503, 0x00}},
                   true},
        ChoiceCase{"WatchdogOffKeepsOtherUserBits", [](OptionChoice& c) { c.IwdgItem = 0; },
                   {{505, 0x06}, {507, 0xF9}},
                   true},
        ChoiceCase{"InfWrpItem0", [](OptionChoice& c) { c.InfWrpItem = 0; },
                   {{508, 0x00}, {509, 0x00}, {510, 0xFF}, {511, 0xFF}},
                   true},
        ChoiceCase{"Wrp7", [](OptionChoice& c) { c.Wrp[7] = 0x00; }, {{489, 0x00}, {491, 0xFF}}, true}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST_F(OptionBlockTest, ReadsProtectionAndWatchdogFromAnyByte) {
  st.OptionBuffer[504] = 0x00;
  st.OptionBuffer[505] = 0xFE;
  const OptionChoice choice = ReadOptionChoice(st);
  EXPECT_EQ(choice.RopItem, 1);
  EXPECT_EQ(choice.IwdgItem, 0);
  StoreOptionChoice(st, choice);
  EXPECT_EQ(st.OptionBuffer[504], 0x5A);  // any protection level is stored as level 1
  EXPECT_EQ(st.OptionBuffer[505], 0xFE);
}

// Only the a and b bytes count; the complements are written by the unit's
// rule and never read back here.
TEST_F(OptionBlockTest, TheWriteRuleLooksAtTheWordsOnly) {
  st.OptionBuffer[502] = 0x12;
  st.OptionBuffer[507] = 0x00;
  EXPECT_FALSE(OptionBlockNeedsWrite(st));
  st.OptionBuffer[509] = 0xFE;
  EXPECT_TRUE(OptionBlockNeedsWrite(st));
}

}  // namespace
}  // namespace zek
