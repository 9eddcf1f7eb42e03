// Grid row counts, the erased-bytes test, the overlap of two object files
// and the raw data file reader.

#include "station/data/buffer_views.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "station/data/errors.h"
#include "station/data/file_overlap.h"
#include "station/data/raw_file.h"
#include "tests/data/temp_dir.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

constexpr size_t kMain = 0x200000;
constexpr size_t kEep = 0x8000;

TEST(GridRowsTest, MainRangeTakesPartialRowsAndStopsAtTheBuffer) {
  EXPECT_EQ(MainGridRows(0, 0x7FFF, kMain), 2048u);
  EXPECT_EQ(MainGridRows(0, 0x8, kMain), 1u);
  EXPECT_EQ(MainGridRows(0, 0, kMain), 1u);
  EXPECT_EQ(MainGridRows(0x10, 0x20, kMain), 2u);
  EXPECT_EQ(MainGridRows(0, 0x1FFFFF, kMain), 131072u);
  // A range past the image shows only what the image holds.
  EXPECT_EQ(MainGridRows(0, 0x3FFFFF, kMain), 131072u);
  EXPECT_EQ(MainGridRows(0x1FFFF8, 0x20000F, kMain), 1u);
  EXPECT_EQ(MainGridRows(0x200000, 0x2FFFFF, kMain), 0u);
  // Flash size 0: end one below start.
  EXPECT_EQ(MainGridRows(0, 0xFFFFFFFF, kMain), 0u);
  EXPECT_EQ(MainGridRows(5, 4, kMain), 0u);
}

TEST(GridRowsTest, EepAreasRoundDownAndStopAtTheBuffer) {
  EXPECT_EQ(EepGridRows(2048, 256, kEep), 144u);
  EXPECT_EQ(EepGridRows(1024, 0, kEep), 64u);
  EXPECT_EQ(EepGridRows(20, 0, kEep), 1u);
  EXPECT_EQ(EepGridRows(0, 0, kEep), 0u);
  EXPECT_EQ(EepGridRows(0xFFFF, 0xFFFF, kEep), 2048u);
}

TEST(HoldsNonErasedTest, LooksOnlyAtTheRangeInsideTheBuffer) {
  std::vector<uint8_t> image(64, 0xFF);
  EXPECT_FALSE(HoldsNonErased(image, 0, 64));
  image[40] = 0x00;
  EXPECT_TRUE(HoldsNonErased(image, 0, 64));
  EXPECT_FALSE(HoldsNonErased(image, 0, 40));
  EXPECT_TRUE(HoldsNonErased(image, 40, 1));
  EXPECT_FALSE(HoldsNonErased(image, 41, 1000));
  EXPECT_FALSE(HoldsNonErased(image, 64, 10));
  EXPECT_FALSE(HoldsNonErased(image, 0, 0));
}

struct OverlapCase {
  uint32_t s1, e1, s2, e2;
  FileOverlap expected;
};

class FileOverlapTest : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(FileOverlapTest, FirstMatchingTestDecides) {
  const OverlapCase c = GetParam();
  EXPECT_EQ(ClassifyFileOverlap(c.s1, c.e1, c.s2, c.e2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FileOverlapTest,
                         ::testing::Values(OverlapCase{0x0000, 0x0FFF, 0x0800, 0x17FF, FileOverlap::Cross},
                                           OverlapCase{0x0800, 0x17FF, 0x0000, 0x0FFF, FileOverlap::Cross},
                                           OverlapCase{0x0000, 0x0FFF, 0x1000, 0x1FFF, FileOverlap::None},
                                           OverlapCase{0x1000, 0x1FFF, 0x0000, 0x0FFF, FileOverlap::None},
                                           OverlapCase{0x0000, 0x1FFF, 0x0100, 0x01FF, FileOverlap::File1HoldsFile2},
                                           OverlapCase{0x0100, 0x01FF, 0x0000, 0x1FFF, FileOverlap::File2HoldsFile1},
                                           // Equal ranges: the first test wins.
                                           OverlapCase{0x0000, 0x0FFF, 0x0000, 0x0FFF, FileOverlap::File1HoldsFile2},
                                           // Touching at one end counts as neither inside nor crossing.
                                           OverlapCase{0x0000, 0x1000, 0x1000, 0x1FFF, FileOverlap::None}),
                         [](const auto& info) { return ::zek::testing::Hex(info.param.s1) + "_" + ::zek::testing::Hex(info.param.e1) + "_and_" + ::zek::testing::Hex(info.param.s2) + "_" + ::zek::testing::Hex(info.param.e2); });

TEST(ReadRawFileTest, StoresWhatFitsAndTellsWhetherMoreFollows) {
  TempDir dir;
  std::vector<uint8_t> dest(8, 0xEE);
  RawFileRead exact = ReadRawFile(dir.Write("exact", std::vector<uint8_t>(8, 0x11)), dest);
  EXPECT_EQ(exact.Stored, 8u);
  EXPECT_FALSE(exact.Longer);

  dest.assign(8, 0xEE);
  RawFileRead longer = ReadRawFile(dir.Write("longer", std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}), dest);
  EXPECT_EQ(longer.Stored, 8u);
  EXPECT_TRUE(longer.Longer);
  EXPECT_EQ(dest, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

  dest.assign(8, 0xEE);
  RawFileRead shorter = ReadRawFile(dir.Write("short", std::vector<uint8_t>{1, 2}), dest);
  EXPECT_EQ(shorter.Stored, 2u);
  EXPECT_FALSE(shorter.Longer);
  EXPECT_EQ(dest, (std::vector<uint8_t>{1, 2, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

  RawFileRead none = ReadRawFile(dir.Write("any", std::vector<uint8_t>{7}), std::span<uint8_t>());
  EXPECT_EQ(none.Stored, 0u);
  EXPECT_TRUE(none.Longer);
}

TEST(ReadRawFileTest, MissingFileOrFolderRaisesFileError) {
  TempDir dir;
  std::vector<uint8_t> dest(4, 0xEE);
  try {
    ReadRawFile(dir.File("missing"), dest);
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.ErrorNumber(), ENOENT);
  }
  EXPECT_THROW(ReadRawFile(dir.File(""), dest), FileError);
  EXPECT_EQ(dest, std::vector<uint8_t>(4, 0xEE));
}

}  // namespace
}  // namespace zek::testing
