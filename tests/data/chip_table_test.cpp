#include "station/data/chip_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/fake_views.h"

namespace zek {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

// Every part of the table with what choosing it commits.
struct PartRow {
  int series;
  const char* name;
  uint8_t class_code;  // committed
  uint8_t index;       // committed
  uint16_t flash_kb, eep, info, page;
};

// clang-format off
constexpr PartRow kParts[] = {
//  series name                class index flashKB  EEP  info page
    {0, "BF7106AM28-TBBX",     0x00, 0,    96, 2048, 256, 256},
    {0, "BF7106AM48-LBTX",     0x00, 1,    96, 2048, 256, 256},
    {0, "BF7106AM64-XXX",      0x00, 2,    96, 2048, 256, 256},
    {0, "BF7006AM64-LBTX",     0x00, 3,    96, 2048, 256, 256},
    {0, "BF7006AM28-TBBX",     0x00, 4,    96, 2048, 256, 256},
    {0, "BF7006AM48-LBBX",     0x00, 5,    96, 2048, 256, 256},
    {0, "BF7112A-JCST",        0x40, 0,    32,    0, 512,  64},
    {1, "BF7612BM20-SJBX",     0x80, 0,    16, 1024,   0,  64},
    {1, "BF7612BM20-SJLX",     0x80, 1,    16, 1024,   0,  64},
    {1, "BF7612BM20-TJLX",     0x80, 2,    16, 1024,   0,  64},
    {1, "BF7612BM24-SJBX",     0x80, 3,    16, 1024,   0,  64},
    {1, "BF7612BM28-SJBX",     0x80, 4,    16, 1024,   0,  64},
    {1, "BF7612BM28-SJLX",     0x80, 5,    16, 1024,   0,  64},
    {1, "BF7612BM28-TJLX",     0x80, 6,    16, 1024,   0,  64},
    {1, "BF7612BM32-LJTX",     0x80, 7,    16, 1024,   0,  64},
    {1, "BF7612BM44-LJTX",     0x80, 8,    16, 1024,   0,  64},
    {2, "BF7613BM20",          0x82, 0,    32, 1024,   0,  64},
    {2, "BF7613BM24",          0x82, 1,    32, 1024,   0,  64},
    {2, "BF7613BM28",          0x82, 2,    32, 1024,   0,  64},
    {2, "BF7613BM64",          0x82, 3,    32, 1024,   0,  64},
    {2, "BF7614BM20",          0x82, 4,    48, 1024,   0,  64},
    {2, "BF7614BM24",          0x82, 5,    48, 1024,   0,  64},
    {2, "BF7614BM28",          0x82, 6,    48, 1024,   0,  64},
    {2, "BF7614BM64",          0x82, 7,    48, 1024,   0,  64},
    {2, "BF7615BM20",          0x82, 8,    64, 1024,   0,  64},
    {2, "BF7615BM24",          0x82, 9,    64, 1024,   0,  64},
    {2, "BF7615BM28",          0x82, 10,   64, 1024,   0,  64},
    {2, "BF7615BM64",          0x82, 11,   64, 1024,   0,  64},
    {3, "BS9000AM20",          0x90, 0,    32,    0, 512,  64},
    {3, "BS9000AM28",          0x90, 1,    32,    0, 512,  64},
    {3, "BS9000AM48",          0x90, 2,    32,    0, 512,  64},
    {3, "BS9000AM64",          0x90, 3,    32,    0, 512,  64},
    {3, "BS9100AM20",          0x90, 4,    32,    0, 512,  64},
    {3, "BS9100AM28",          0x90, 5,    32,    0, 512,  64},
    {3, "BS9400AM20",          0x90, 6,    32,    0, 512,  64},
    {3, "BS9400AM28",          0x90, 7,    32,    0, 512,  64},
    {4, "BS32G030CBT6",        0x10, 0,   128,    0, 512, 512},
    {4, "BS32G030KBT6",        0x10, 1,   128,    0, 512, 512},
    {4, "BS32G030KBU6",        0x10, 2,   128,    0, 512, 512},
    {5, "BS32F103CBT6",        0x12, 0,   128,    0, 512, 512},
    {5, "BS32F103RBT6",        0x12, 1,   128,    0, 512, 512},
    {5, "BS32F030CBT6",        0x12, 2,   128,    0, 512, 512},
    {5, "BS32F030KBT6",        0x12, 3,   128,    0, 512, 512},
    {5, "BS32F030KBU6",        0x12, 4,   128,    0, 512, 512},
};
// clang-format on

TEST(ChipTable, SeriesListEveryPartInOrder) {
  static_assert(std::size(kParts) == kChipPartCount);
  size_t row = 0;
  for (int series = 0; series < kChipSeriesCount; ++series) {
    const auto parts = ChipSeriesParts[series];
    EXPECT_EQ(ChipSeriesLastIndex[series] + 1u, parts.size()) << "series " << series;
    for (size_t i = 0; i < parts.size(); ++i, ++row) {
      ASSERT_LT(row, std::size(kParts));
      EXPECT_EQ(kParts[row].series, series);
      EXPECT_EQ(parts[i], kParts[row].name);
    }
  }
  EXPECT_EQ(row, std::size(kParts));
  EXPECT_EQ(ChipSeriesTexts[3], "BF9x00xx Chips");
}

// What the dialog does for a part: the series' class, the list position,
// the size rule, then OK.
TEST(ChipTable, EveryPartCommitsItsClassIndexAndSizes) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  for (const PartRow& p : kParts) {
    SCOPED_TRACE(p.name);
    const auto parts = ChipSeriesParts[p.series];
    PendingChip pending;
    pending.ClassCode = ChipSeriesClass[p.series];
    pending.PartIndex = static_cast<uint8_t>(std::find(parts.begin(), parts.end(), p.name) - parts.begin());
    ApplySizeRule(p.name, pending);
    CommitChipSelection(st, pending, p.name);
    EXPECT_EQ(st.ChipClassCode, p.class_code);
    EXPECT_EQ(st.ChipIndex, p.index);
    EXPECT_EQ(st.ChipFlashSizeKB, p.flash_kb);
    EXPECT_EQ(st.EepSize, p.eep);
    EXPECT_EQ(st.InfoSize, p.info);
    EXPECT_EQ(st.PageSize, p.page);
    EXPECT_EQ(st.ChipName, p.name);
  }
}

TEST(ChipTable, SizeRulesBeyondTheListedParts) {
  struct Case {
    const char* name;
    uint16_t flash_kb, eep, info, page;
  };
  // Start every case from sizes no rule writes, so "left alone" shows.
  constexpr PendingChip kBefore{0x33, 2, 7, 7, 7, 7, 0, 0};
  const Case cases[] = {
      {"BS9006AM28", 96, 0, 512, 64},  {"BS9007AM28", 128, 0, 512, 64},
      {"BS9008AM28", 256, 0, 512, 64}, {"BS9001", 256, 0, 512, 64},
      {"BS32G030C8T6", 64, 0, 512, 512}, {"BS32F103CCT6", 256, 0, 512, 512},
      {"BS32F103CZT6", 7, 7, 7, 7},      // unknown flash letter: nothing changes
      {"BS32G", 7, 7, 7, 7},             // too short to have one
      {"bs32g030cbt6", 16, 1024, 0, 64},  // prefixes are case-sensitive: the BF7 default
      {"BS9", 16, 1024, 0, 64},
      {"", 16, 1024, 0, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PendingChip p = kBefore;
    ApplySizeRule(c.name, p);
    EXPECT_EQ(p.FlashKB, c.flash_kb);
    EXPECT_EQ(p.EepSize, c.eep);
    EXPECT_EQ(p.InfoSize, c.info);
    EXPECT_EQ(p.PageSize, c.page);
    EXPECT_EQ(p.ClassCode, 0x33);
  }
}

TEST(ChipTable, CommitForgetsTheImageAndSetsTheDescriptor) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.MainBuffer[0x100] = 0x12;
  st.EepBuffer[0] = 0x34;
  st.FileLoaded = st.File1Loaded = st.File2Loaded = 1;
  st.FamilyCode = 0;
  st.EepStartAddress = 0x40000000;
  st.EepEndAddress = 0x400007FF;

  PendingChip pending;
  pending.ClassCode = 0x00;
  pending.PartIndex = 5;  // a BF7112 name overrides both
  CommitChipSelection(st, pending, "BF7112A-JCST");

  EXPECT_EQ(st.MainBuffer[0x100], 0xFF);
  EXPECT_EQ(st.EepBuffer[0], 0xFF);
  EXPECT_EQ(st.FileLoaded + st.File1Loaded + st.File2Loaded, 0);
  EXPECT_EQ(st.ChipSelected, 1);
  EXPECT_EQ(st.FamilyCode, 0x45);
  EXPECT_EQ(st.ChipClassCode, 0x40);
  EXPECT_EQ(st.ChipIndex, 0);
  EXPECT_EQ(st.EepStartAddress, kNone);
  EXPECT_EQ(st.EepEndAddress, kNone);
}

}  // namespace
}  // namespace zek
