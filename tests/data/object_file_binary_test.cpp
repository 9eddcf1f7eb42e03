#include "station/data/object_file_binary.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <numeric>

#include "station/data/errors.h"
#include "tests/data/temp_dir.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  return v;
}

uint32_t Sum(const std::vector<uint8_t>& v, size_t n) {
  return std::accumulate(v.begin(), v.begin() + static_cast<long>(n), 0u);
}

class BinaryTest : public ::testing::Test {
 protected:
  testing::FakeStation fs;
  StationState& st = fs.st;
  testing::TempDir dir;
  size_t LimitBoxes() const {
    return static_cast<size_t>(std::count_if(fs.boxes.shown.begin(), fs.boxes.shown.end(), [](const auto& b) {
      return b.kind == "plain" && b.text == "地址超出范围！";
    }));
  }
};

struct LimitCase {
  const char* name;
  size_t file_size;
  uint32_t in_value;    // limit (count) or end address
  uint32_t stored;      // bytes that must arrive and the out value
  bool box;
};

// A count limit: exactly the limit fits; one more byte is refused.
const LimitCase kCountCases[] = {
    {"ExactlyTheLimit", 0x4000, 0x4000, 0x4000, false},
    {"OneBytePastTheLimit", 0x4001, 0x4000, 0x4000, true},
    {"FarPastTheLimit", 0x5000, 0x4000, 0x4000, true},
    {"ShortFile", 300, 0x4000, 300, false},
    {"NoLimitFillsTheBuffer", 0x10000, 0, 0x10000, false},
    {"NoLimitBufferBounds", 0x10001, 0, 0x10000, true},
    {"LimitAboveTheBuffer", 0x10100, 0x20000, 0x10000, true},
    {"EmptyFile", 0, 0x4000, 0, false},
    {"OddLimit", 1000, 999, 999, true},
};

class CountLimitTest : public BinaryTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(CountLimitTest, StoresUpToTheLimitAndNothingPastIt) {
  const LimitCase& c = GetParam();
  std::vector<uint8_t> bytes = Pattern(c.file_size);
  std::vector<uint8_t> image(0x10000 + 16, 0xEE);  // a guard band past the buffer
  uint32_t limit = c.in_value;
  ReadBinaryFile(st, dir.Write("f.bin", bytes), std::span<uint8_t>(image.data(), 0x10000), limit);
  EXPECT_EQ(limit, c.stored);
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + c.stored, image.begin()));
  EXPECT_TRUE(std::all_of(image.begin() + c.stored, image.end(), [](uint8_t b) { return b == 0xEE; }));
  EXPECT_EQ(LimitBoxes(), c.box ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, CountLimitTest, ::testing::ValuesIn(kCountCases),
                         [](const auto& info) { return std::string(info.param.name); });

// An end-address limit: end 0x3FFF takes 0x4000 bytes.
const LimitCase kEndCases[] = {
    {"ExactlyToTheEnd", 0x4000, 0x3FFF, 0x4000, false},
    {"OneBytePastTheEnd", 0x4001, 0x3FFF, 0x4000, true},
    {"EndZeroMeansTheBuffer", 0x8000, 0, 0x8000, false},
    {"EndOfAWholeAddressSpace", 0x8001, 0xFFFFFFFF, 0x8000, true},
    {"ShortFile", 17, 0x3FFF, 17, false},
};

class EndLimitTest : public BinaryTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(EndLimitTest, StoresUpToTheEndAndSumsWhatItStored) {
  const LimitCase& c = GetParam();
  std::vector<uint8_t> bytes = Pattern(c.file_size);
  std::vector<uint8_t> image(0x8000 + 16, 0xEE);
  uint32_t end = c.in_value, sum = 5;
  ReadBinaryFileSum(st, dir.Write("f.bin", bytes), std::span<uint8_t>(image.data(), 0x8000), end, sum);
  EXPECT_EQ(end, c.stored);
  EXPECT_EQ(sum, 5 + Sum(bytes, c.stored));
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + c.stored, image.begin()));
  EXPECT_TRUE(std::all_of(image.begin() + c.stored, image.end(), [](uint8_t b) { return b == 0xEE; }));
  EXPECT_EQ(LimitBoxes(), c.box ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Files, EndLimitTest, ::testing::ValuesIn(kEndCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BinaryTest, UnreadableFilesGiveZeroAndNoMessage) {
  std::vector<uint8_t> image(64, 0xEE);
  for (const std::string& path : {dir.File("missing.bin"), dir.File("")}) {
    uint32_t limit = 10, end = 10, sum = 3;
    ReadBinaryFile(st, path, image, limit);
    ReadBinaryFileSum(st, path, image, end, sum);
    EXPECT_EQ(limit, 0u) << path;
    EXPECT_EQ(end, 0u) << path;
    EXPECT_EQ(sum, 3u) << path;
  }
  EXPECT_TRUE(fs.boxes.shown.empty());
  EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](uint8_t b) { return b == 0xEE; }));
}

TEST_F(BinaryTest, WritesTheInclusiveRangeInOrder) {
  std::vector<uint8_t> image = Pattern(4096);
  struct Range {
    uint32_t start, end;
    std::vector<uint8_t> expected;
  } ranges[] = {
      {0, 4095, image},
      {10, 10, {image[10]}},
      {4000, 9000, std::vector<uint8_t>(image.begin() + 4000, image.end())},  // cut at the buffer
      {11, 10, {}},
      {5000, 6000, {}},
  };
  for (const Range& r : ranges) {
    std::string path = dir.File("out.bin");
    dir.Write("out.bin", std::string(20000, 'x'));  // truncated first
    WriteBinaryFile(path, image, r.start, r.end);
    EXPECT_EQ(testing::TempDir::Read(path), r.expected) << r.start << ".." << r.end;
  }
}

TEST_F(BinaryTest, WriteFailureRaisesTheFileError) {
  std::vector<uint8_t> image(16, 1);
  EXPECT_THROW(WriteBinaryFile(dir.File("no/such/folder.bin"), image, 0, 15), FileError);
}

TEST_F(BinaryTest, FullDeviceRaisesTheFileError) {
  struct stat info {};
  if (::stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode)) GTEST_SKIP() << "no /dev/full here";
  std::vector<uint8_t> image(16, 1);
  try {
    WriteBinaryFile("/dev/full", image, 0, 15);
    FAIL() << "a full device took the bytes";
  } catch (const FileError& e) {
    EXPECT_EQ(e.ErrorNumber(), ENOSPC);
  }
}

}  // namespace
}  // namespace zek
