#include "station/data/gbk_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fake_views.h"

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

struct FixedTextCase {
  const char* name;
  std::string text;
  size_t width;
  Bytes expected;
};

class PutFixedTextTest : public ::testing::TestWithParam<FixedTextCase> {};

TEST_P(PutFixedTextTest, WritesTheFieldInCodePage936) {
  const FixedTextCase& c = GetParam();
  Bytes field(c.width, 0xEE);
  PutFixedText(field, c.text);
  EXPECT_EQ(field, c.expected);
}

// Known answers checked against iconv(1) -t CP936.
INSTANTIATE_TEST_SUITE_P(
    Texts, PutFixedTextTest,
    ::testing::Values(
        FixedTextCase{"Ascii", "BF7612", 8, {'B', 'F', '7', '6', '1', '2', 0, 0}},
        FixedTextCase{"EmptyIsAQuestionMark", "", 4, {0x3F, 0, 0, 0}},
        FixedTextCase{"CutAtTheWidth", "ABCDEFG", 4, {'A', 'B', 'C', 'D'}},
        FixedTextCase{"Chinese", "\xE8\x8A\xAF\xE7\x89\x87", 6, {0xD0, 0xBE, 0xC6, 0xAC, 0, 0}},
        FixedTextCase{"EuroIsOneByte", "\xE2\x82\xAC", 2, {0x80, 0}},
        FixedTextCase{"NoHalfCharacterAtTheEnd", "A\xE8\x8A\xAF\xE7\x89\x87", 4, {'A', 0xD0, 0xBE, 0}},
        FixedTextCase{"MissingFromTheCodePage", "a\xF0\x9F\x98\x80" "b", 4, {'a', '?', 'b', 0}},
        FixedTextCase{"MalformedUtf8", "a\xC3(b", 5, {'a', '?', '(', 'b', 0}},
        FixedTextCase{"CutUtf8AtTheEnd", "ab\xE8\x8A", 4, {'a', 'b', '?', 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FromGbkCase {
  const char* name;
  std::string gbk;
  std::string utf8;
};

class FromGbkTest : public ::testing::TestWithParam<FromGbkCase> {};

TEST_P(FromGbkTest, ReadsCodePage936AsUtf8) { EXPECT_EQ(FromGbk(GetParam().gbk), GetParam().utf8); }

INSTANTIATE_TEST_SUITE_P(
    Texts, FromGbkTest,
    ::testing::Values(FromGbkCase{"Ascii", "BF7612", "BF7612"},
                      FromGbkCase{"Chinese", "\xD0\xBE\xC6\xAC", "\xE8\x8A\xAF\xE7\x89\x87"},
                      FromGbkCase{"EuroIsOneByte", "\x80", "\xE2\x82\xAC"},
                      FromGbkCase{"LeadByteCutOffAtTheEnd", "A\xD0", "A?"},
                      FromGbkCase{"UndefinedByte", "a\xFF" "b", "a?b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PutFixedText, StaysInsideThePacketArea) {
  testing::FakeStation fs;
  auto& packet = fs.st.PortPacketBuf[1];
  PutFixedText(fs.st, "ABCDEFGH", packet.size() - 3, 48, 1);
  EXPECT_EQ(packet[packet.size() - 3], 'A');
  EXPECT_EQ(packet[packet.size() - 1], 'C');
  PutFixedText(fs.st, "ABC", packet.size(), 16, 1);  // nothing to write
  PutFixedText(fs.st, "XY", 256, 16, 1);
  EXPECT_EQ(packet[256], 'X');
  EXPECT_EQ(packet[257], 'Y');
  EXPECT_EQ(packet[258], 0);
  EXPECT_EQ(packet[271], 0);
}

}  // namespace
}  // namespace zek
