#include "filelib/binary_loaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "filelib/DorvikRHB.h"
#include "tests/filelib/filelib_test_support.h"
#include "tests/filelib/image_buffer.h"

namespace {

using namespace rhbtest;

std::string Bytes(size_t n, uint32_t seed) {
  std::vector<uint8_t> v = RandomBytes(n, seed);
  return {v.begin(), v.end()};
}

struct LimitCase {
  const char* name;
  size_t file_bytes;  // 0xFFFFFFFF: no file
  uint32_t limit;
  int32_t result;
  uint32_t limit_after;
  size_t stored;
};

class BinaryLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(BinaryLimitTest, ResultLimitAndBytes) {
  const LimitCase& c = GetParam();
  TempDir dir;
  bool exists = c.file_bytes != 0xFFFFFFFF;
  std::string content = exists ? Bytes(c.file_bytes, 3) : "";
  std::string path = exists ? dir.Write("f.bin", content) : dir.Path("missing.bin");
  for (bool rt : {true, false}) {
    ImageBuffer image;
    uint32_t limit = c.limit;
    if (rt)
      EXPECT_EQ(ExeOpenFile_BIN_RoutAndRT(path.c_str(), image.data(), &limit), c.result);
    else
      DoOpenBinFileMaxLenRT(path.c_str(), image.data(), &limit);
    EXPECT_EQ(limit, c.limit_after);
    EXPECT_TRUE(std::equal(content.begin(), content.begin() + static_cast<long>(c.stored), image.bytes.begin(),
                           [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }));
    EXPECT_EQ(image.bytes[c.stored], kUntouched);
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, BinaryLimitTest,
                         ::testing::Values(LimitCase{"Longer", 0x2000, 0x1000, 10, 0x1000, 0x1000},
                                           LimitCase{"Shorter", 0x600, 0x1000, 0, 0x5FF, 0x600},
                                           LimitCase{"EqualReadsWhole", 0x1000, 0x1000, 0, 0xFFF, 0x1000},
                                           LimitCase{"Empty", 0, 0x1000, 0, 0xFFFFFFFF, 0},
                                           LimitCase{"MissingFile", 0xFFFFFFFF, 0x1000, 6, 0x1000, 0},
                                           LimitCase{"MissingFileLargestLimit", 0xFFFFFFFF, 0xFFFFFFFF, 6,
                                                     0xFFFFFFFE, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BinaryLoaderTest, CapsAt4MiBAndSums) {
  TempDir dir;
  std::string content = Bytes(5000000, 9);
  std::string path = dir.Write("big.bin", content);
  ImageBuffer image;
  uint32_t end = 0, sum = 1;
  DoOpenFile_BIN_Routine(path.c_str(), image.data(), &end);
  EXPECT_EQ(end, 0x3FFFFFu);
  EXPECT_EQ(image.bytes[0x400000], kUntouched);
  EXPECT_EQ(std::memcmp(image.data(), content.data(), 0x400000), 0);
  DoOpenFile_BIN_RoutineSum(path.c_str(), image.data(), &end, &sum);
  uint32_t want = 0;
  for (size_t i = 0; i < 0x400000; ++i) want += static_cast<uint8_t>(content[i]);
  EXPECT_EQ(sum, want);
}

TEST(BinaryLoaderTest, EmptyAndMissingFiles) {
  TempDir dir;
  ImageBuffer image;
  uint32_t end = 0, sum = 5;
  DoOpenFile_BIN_Routine(dir.Write("empty.bin", "").c_str(), image.data(), &end);
  EXPECT_EQ(end, 0xFFFFFFFFu);
  DoOpenFile_BIN_RoutineSum(dir.Path("none.bin").c_str(), image.data(), &end, &sum);
  EXPECT_EQ(end, 0x3FFFFFu);
  EXPECT_EQ(sum, 0u);
  EXPECT_EQ(image.Changed(), 0u);
}

// A folder is no file: every binary loader treats it as one that could not
// be opened, not as a file of the folder's size.
TEST(BinaryLoaderTest, FolderReadsLikeAMissingFile) {
  TempDir dir;
  std::string folder = dir.Path("");
  ImageBuffer image;
  uint32_t end = 0, sum = 5;
  DoOpenFile_BIN_Routine(folder.c_str(), image.data(), &end);
  EXPECT_EQ(end, 0x3FFFFFu);
  DoOpenFile_BIN_RoutineSum(folder.c_str(), image.data(), &end, &sum);
  EXPECT_EQ(end, 0x3FFFFFu);
  EXPECT_EQ(sum, 0u);
  uint32_t limit = 0xFFFFFFFF;
  DoOpenBinFileMaxLenRT(folder.c_str(), image.data(), &limit);
  EXPECT_EQ(limit, 0xFFFFFFFEu);
  limit = 0x1000;
  EXPECT_EQ(ExeOpenFile_BIN_RoutAndRT(folder.c_str(), image.data(), &limit), 6);
  EXPECT_EQ(limit, 0x1000u);
  EXPECT_EQ(image.Changed(), 0u);
}

// Hands out at most `most` bytes a read.
class TrickleSource final : public rhb::ByteSource {
 public:
  TrickleSource(std::string text, size_t most) : text_(std::move(text)), most_(most) {}
  ssize_t Read(char* dst, size_t n) override {
    size_t k = std::min({n, most_, text_.size() - pos_});
    std::copy_n(text_.data() + pos_, k, dst);
    pos_ += k;
    return static_cast<ssize_t>(k);
  }

 private:
  std::string text_;
  size_t most_;
  size_t pos_ = 0;
};

TEST(BinaryLoaderTest, ShortReadCountsWholeChunk) {
  ImageBuffer image;
  TrickleSource source(std::string(2048, '\x11'), 1000);
  uint32_t end = 0;
  rhb::LoadBinary(source, 2048, image.data(), &end, nullptr);
  EXPECT_EQ(end, 2047u);
  // Chunk 1 gets 1000 of its 1024 bytes, chunk 2 the next 1000.
  EXPECT_EQ(image.bytes[999], 0x11);
  EXPECT_EQ(image.bytes[1000], kUntouched);
  EXPECT_EQ(image.bytes[1024], 0x11);
  EXPECT_EQ(image.bytes[2023], 0x11);
  EXPECT_EQ(image.bytes[2024], kUntouched);
}

}  // namespace
