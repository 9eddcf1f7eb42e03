#include "filelib/writers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/filelib/filelib_test_support.h"
#include "tests/filelib/image_buffer.h"

namespace {

using namespace rhbtest;

enum class Kind { SRecord, IntelHex };

struct LineCase {
  const char* name;
  Kind kind;
  uint32_t start;
  uint32_t end;
  std::vector<std::string> lines;
};

// Image byte at address a is (a & 0xFF) ^ 0xA5, so every byte is known.
uint8_t ByteAt(uint32_t a) { return static_cast<uint8_t>((a & 0xFF) ^ 0xA5); }

std::vector<LineCase> Cases() {
  return {
      {"S1TwoFullLines", Kind::SRecord, 0x0000, 0x003F,
       {"S1230000A5A4A7A6A1A0A3A2ADACAFAEA9A8ABAAB5B4B7B6B1B0B3B2BDBCBFBEB9B8BBBAEC",
        "S123002085848786818083828D8C8F8E89888B8A95949796919093929D9C9F9E99989B9ACC", "S9030000FC"}},
      {"S2ShortLine", Kind::SRecord, 0x10000, 0x10004, {"S209010000A5A4A7A6A1BE", "S804000000FB"}},
      {"S3OneByte", Kind::SRecord, 0x1000000, 0x1000000, {"S30601000000A553", "S70500000000FA"}},
      {"SEndBelowStart", Kind::SRecord, 0x20, 0x1F, {"S9030000FC"}},
      {"IntelSixteenThenOne", Kind::IntelHex, 0x0000, 0x0010,
       {":10000000A5A4A7A6A1A0A3A2ADACAFAEA9A8ABAA78", ":01001000B53A", ":00000001FF"}},
      {"IntelCrossing64K", Kind::IntelHex, 0xFFF0, 0x1000F,
       {":020000040000FA", ":10FFF00055545756515053525D5C5F5E59585B5A89", ":020000040001F9",
        ":10000000A5A4A7A6A1A0A3A2ADACAFAEA9A8ABAA78", ":00000001FF"}},
      {"IntelEndBelowStart", Kind::IntelHex, 0x20, 0x1F, {":00000001FF"}},
  };
}

class WriterLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(WriterLineTest, LinesAsWritten) {
  const LineCase& c = GetParam();
  ImageBuffer image;
  for (uint32_t a = c.start; a <= c.end && a < image.bytes.size(); ++a) image.bytes[a] = ByteAt(a);
  TempDir dir;
  std::string path = dir.Path("out");
  int error = c.kind == Kind::SRecord ? rhb::WriteSRecordFile(path.c_str(), image.data(), 0, c.start, c.end)
                                      : rhb::WriteIntelHexFile(path.c_str(), image.data(), 0, c.start, c.end);
  ASSERT_EQ(error, 0);
  EXPECT_EQ(Lines(ReadFile(path)), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Writers, WriterLineTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WriterTest, TruncatesAnExistingFile) {
  TempDir dir;
  std::string path = dir.Write("old.bin", std::string(1000, 'x'));
  const uint8_t bytes[] = {1, 2, 3};
  ASSERT_EQ(rhb::WriteBinaryFile(path.c_str(), bytes, 1, 2), 0);
  EXPECT_EQ(ReadFile(path), std::string("\x02\x03"));
}

TEST(WriterTest, CreateFailureIsReported) {
  const uint8_t bytes[] = {1};
  EXPECT_EQ(rhb::WriteBinaryFile("/nonexistent-folder/x.bin", bytes, 0, 0), ENOENT);
  EXPECT_EQ(rhb::WriteSRecordFile("/nonexistent-folder/x.s19", bytes, 0, 0, 0), ENOENT);
  EXPECT_EQ(rhb::WriteIntelHexFile("/nonexistent-folder/x.hex", bytes, 0, 0, 0), ENOENT);
}

TEST(WriterTest, WriteFailureIsReported) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  std::vector<uint8_t> bytes(0x10000, 7);
  EXPECT_EQ(rhb::WriteIntelHexFile("/dev/full", bytes.data(), 0, 0, 0xFFFF), ENOSPC);
}

}  // namespace
