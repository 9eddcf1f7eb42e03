#include "station/data/chip_memory_map.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "station/data/byte_sums.h"
#include "tests/support/fake_views.h"
#include "tests/support/case_names.h"

namespace zek {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

TEST(ResetBuffers, FillsImagesAndForgetsChipAndFiles) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.MainBuffer[0x1FFFFF] = 1;
  st.EepBuffer[0x7FFF] = 2;
  st.OptionBuffer[0x3FF] = 3;
  st.ChipClassCode = 0x82;
  st.ChipIndex = 4;
  st.ChipStartAddress = 0x100;
  st.ChipEndAddress = 0x3FFF;
  st.File1Start = st.File2Start = 0x20;
  st.File1End = st.File2End = 0x30;
  st.File1Loaded = st.File2Loaded = st.FileLoaded = st.ChipSelected = 1;
  st.FlashEndAddress = 0x3FFF;
  st.EepEndAddress = 0xFF;
  st.MainAcc16 = 0x1234;

  ResetBuffers(st);

  EXPECT_TRUE(std::all_of(st.MainBuffer.begin(), st.MainBuffer.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::all_of(st.EepBuffer.begin(), st.EepBuffer.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::all_of(st.OptionBuffer.begin(), st.OptionBuffer.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(st.ChipClassCode, 0);
  EXPECT_EQ(st.ChipIndex, 0);
  EXPECT_EQ(st.ChipStartAddress, 0u);
  EXPECT_EQ(st.ChipEndAddress, 0u);
  EXPECT_EQ(st.File1Start, 0u);
  EXPECT_EQ(st.File1End, 0xFFFFu);
  EXPECT_EQ(st.File2Start, 0u);
  EXPECT_EQ(st.File2End, 0xFFFFu);
  EXPECT_EQ(st.File1Loaded + st.File2Loaded + st.FileLoaded + st.ChipSelected, 0);
  // Everything else keeps its value.
  EXPECT_EQ(st.FlashEndAddress, 0x3FFFu);
  EXPECT_EQ(st.EepEndAddress, 0xFFu);
  EXPECT_EQ(st.MainAcc16, 0x1234);
}

struct MapCase {
  const char* name;
  uint8_t class_code;
  uint16_t flash_kb, eep_size, info_size;
  uint32_t flash_end;
  uint32_t eep_start, eep_end;
  uint32_t option_start, option_end;
  uint32_t info_start, info_end;
};

const MapCase kMapCases[] = {
    {"Class90", 0x90, 16, 512, 256, 0x3FFF, kNone, kNone, kNone, kNone, 0x4000, 0x40FF},
    {"Class90NoFlash", 0x90, 0, 0, 16, kNone, kNone, kNone, kNone, kNone, 0, 0xF},
    {"Class10", 0x10, 64, 256, 123, 0xFFFF, kNone, kNone, 0x201E0, 0x201FF, 0x20200, 0x203FF},
    {"Class12", 0x12, 32, 0, 0, 0x7FFF, kNone, kNone, 0x201E0, 0x201FF, 0x20200, 0x203FF},
    {"Class80NoEeprom", 0x80, 8, 0, 256, 0x1FFF, 0, kNone, kNone, kNone, 0x2400, 0x24FF},
    {"Class82", 0x82, 32, 256, 512, 0x7FFF, 0, 0xFF, kNone, kNone, 0x8400, 0x85FF},
    {"ClassFFLikeClass80", 0xFF, 1, 16, 1, 0x3FF, 0, 0xF, kNone, kNone, 0x800, 0x800},
    {"Class40", 0x40, 16, 1024, 128, 0x3FFF, 0, 0x3FF, kNone, kNone, 0x8000, 0x807F},
    {"Class00", 0x00, 64, 4096, 512, 0xFFFF, 0x40000000, 0x40000FFF, kNone, kNone, 0x40000800, 0x400009FF},
    {"Class00NoEeprom", 0x00, 64, 0, 0, 0xFFFF, 0x40000000, 0x3FFFFFFF, kNone, kNone, 0x40000800, 0x400007FF},
    {"Class7FLikeClass00", 0x7F, 2, 1, 1, 0x7FF, 0x40000000, 0x40000000, kNone, kNone, 0x40000800, 0x40000800},
    {"Class00NoFlash", 0x00, 0, 2, 2, kNone, 0x40000000, 0x40000001, kNone, kNone, 0x40000800, 0x40000801},
};

class SetMemoryMapTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(SetMemoryMapTest, SetsEveryRangeOfTheClass) {
  const MapCase& c = GetParam();
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.ChipClassCode = c.class_code;
  st.ChipFlashSizeKB = c.flash_kb;
  st.EepSize = c.eep_size;
  st.InfoSize = c.info_size;
  SetMemoryMap(st);
  EXPECT_EQ(st.FlashSizeKB, c.flash_kb);
  EXPECT_EQ(st.FlashStartAddress, 0u);
  EXPECT_EQ(st.FlashEndAddress, c.flash_end);
  EXPECT_EQ(st.ChipStartAddress, 0u);
  EXPECT_EQ(st.ChipEndAddress, c.flash_end);
  EXPECT_EQ(st.EepStartAddress, c.eep_start);
  EXPECT_EQ(st.EepEndAddress, c.eep_end);
  EXPECT_EQ(st.OptionStartAddress, c.option_start);
  EXPECT_EQ(st.OptionEndAddress, c.option_end);
  EXPECT_EQ(st.InfoStartAddress, c.info_start);
  EXPECT_EQ(st.InfoEndAddress, c.info_end);
}

INSTANTIATE_TEST_SUITE_P(Classes, SetMemoryMapTest, ::testing::ValuesIn(kMapCases),
                         [](const auto& info) { return std::string(info.param.name); });

class OptionImageTest : public ::testing::TestWithParam<uint8_t> {
 protected:
  testing::FakeStation fs;
  StationState& st = fs.st;
  void SetUp() override {
    std::fill(st.OptionBuffer.begin(), st.OptionBuffer.end(), 0x11);
    st.MainBuffer[5] = 0x22;
    st.EepBuffer[5] = 0x33;
    st.ChipClassCode = GetParam();
    st.ChipFlashSizeKB = 16;
    SetMemoryMap(st);
  }
};

TEST_P(OptionImageTest, RefillsOptionsAndLeavesTheOtherImages) {
  const bool has_block = GetParam() == 0x10 || GetParam() == 0x12;
  const uint8_t block[24] = {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
                             0xFF, 0xFF, 0x00, 0x00, 0xA5, 0x07, 0x5A, 0xF8, 0xFF, 0xFF, 0x00, 0x00};
  for (size_t i = 0; i < st.OptionBuffer.size(); ++i) {
    uint8_t want = (has_block && i >= 488 && i < 512) ? block[i - 488] : 0xFF;
    ASSERT_EQ(st.OptionBuffer[i], want) << "offset " << i;
  }
  EXPECT_EQ(st.MainBuffer[5], 0x22);
  EXPECT_EQ(st.EepBuffer[5], 0x33);
}

INSTANTIATE_TEST_SUITE_P(Classes, OptionImageTest, ::testing::Values(0x10, 0x12, 0x00, 0x40, 0x80, 0x90),
                         [](const auto& info) { return "Class" + ::zek::testing::Hex(static_cast<uint32_t>(info.param)); });

TEST(ShowOptionDump, PrintsTheDefaultBlockOfClass10) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.ChipClassCode = 0x10;
  st.ChipFlashSizeKB = 64;
  SetMemoryMap(st);
  ShowOptionDump(st);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{
                               "",
                               "> Chip Option Byte data as below : ",
                               "   0201E0: FF FF FF FF FF FF FF FF FF FF 00 00 FF FF 00 00 ",
                               "   0201F0: FF FF 00 00 FF FF 00 00 A5 07 5A F8 FF FF 00 00 ",
                           }));
  // 488 bytes of 0xFF and six complementary word halves: 127500 = 0x1F20C.
  EXPECT_EQ(st.OptionAcc16, 0xF20C);
  EXPECT_EQ(st.OptionCrc16, Check16(st.OptionBuffer.span(), 0, 511));
}

TEST(ShowOptionDump, SumsCoverTheFirst512BytesOnly) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  std::fill(st.OptionBuffer.begin(), st.OptionBuffer.end(), 0);
  st.OptionBuffer[0] = 0x01;
  st.OptionBuffer[511] = 0x80;
  st.OptionBuffer[512] = 0x7F;
  st.OptionBuffer[0x3FF] = 0x7F;
  ShowOptionDump(st);
  EXPECT_EQ(st.OptionAcc16, 0x81);
  std::vector<uint8_t> first512(512, 0);
  first512[0] = 0x01;
  first512[511] = 0x80;
  EXPECT_EQ(st.OptionCrc16, Check16(first512, 0, 511));
}

TEST(ShowOptionDump, LabelsRowsFromTheOptionStart) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.OptionStartAddress = 0xABC;
  for (int i = 0; i < 32; ++i) st.OptionBuffer[480 + i] = static_cast<uint8_t>(i);
  ShowOptionDump(st);
  ASSERT_EQ(fs.memo.lines.size(), 4u);
  EXPECT_EQ(fs.memo.lines[2], "   000ABC: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
  EXPECT_EQ(fs.memo.lines[3], "   000ACC: 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F ");
}

struct HoldsCase {
  uint32_t start, end, address;
  bool holds;
};

TEST(RangeHolds, InclusiveEndsAbsentAndEmptyRegionsHoldNothing) {
  const HoldsCase cases[] = {
      {0, 0x3FFF, 0, true},
      {0, 0x3FFF, 0x3FFF, true},
      {0, 0x3FFF, 0x4000, false},
      {0x40000000, 0x40000FFF, 0x3FFFFFFF, false},
      {0x40000000, 0x40000FFF, 0x40000000, true},
      {0, 0, 0, true},                      // one byte at 0, as after ResetBuffers
      {kNone, kNone, kNone, false},         // absent region
      {0, kNone, 0x1234, false},            // size 0 from start 0
      {0x40000000, 0x3FFFFFFF, 0x40000000, false},  // size 0 from 0x40000000
      {0, 0xFFFFFFFE, 0xFFFFFFFE, true},
  };
  for (const HoldsCase& c : cases) {
    EXPECT_EQ(RangeHolds(c.start, c.end, c.address), c.holds)
        << std::hex << c.start << ".." << c.end << " @ " << c.address;
  }
}

}  // namespace
}  // namespace zek
