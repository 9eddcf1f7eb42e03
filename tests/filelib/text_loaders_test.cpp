#include "filelib/text_loaders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/filelib/image_buffer.h"

namespace {

using namespace rhbtest;

struct TextCase {
  const char* name;
  bool ti430;
  std::string text;
  std::vector<Stored> stored;
  uint32_t start;
};

std::vector<TextCase> Cases() {
  return {
      {"Ti430Example", true, "@F000\n31 40 00 03\n", {{0xF000, {0x31, 0x40, 0x00, 0x03}}}, 0xF000},
      {"Ti430QuitEndsFile", true, "@F000\n31 40\nq\n@0100\n55\n", {{0xF000, {0x31, 0x40}}}, 0xF000},
      {"Ti430LowestAddressIsStart", true, "@2000\n01\n@1000\n02 03\n  q  \n", {{0x2000, {1}}, {0x1000, {2, 3}}},
       0x1000},
      {"Ti430NoAddressStartsAtZero", true, "\n   \n0A0B\n", {{0, {0x0A, 0x0B}}}, 0xFFFFFFFF},
      // A digit pairs with whatever follows it, a blank too (value 0xF0).
      {"Ti430LoneLastDigitStoresNothing", true, "@10\n1 2 3\n", {{0x10, {0x00, 0x10}}}, 0x10},
      {"Ti430PairsAcrossBlanksAndCrLf", true, "@10\r\n  AB CD\r\n", {{0x10, {0xAB, 0xCD}}}, 0x10},
      {"Ti430NothingAt16MiB", true, "@FFFFFE\n01 02 03 04\n", {{0xFFFFFE, {1, 2}}}, 0xFFFFFE},
      {"TextHexExample", false, "@1000 AB 1234 5\n", {{0x1000, {0xAB, 0x34, 0x12}}}, 0x1000},
      {"TextHexDoubleBlankStoresZero", false, "@2000 AB  CD \n", {{0x2000, {0xAB, 0x00, 0xCD}}}, 0x2000},
      {"TextHexThreeDigitsAreAWord", false, "@10 123 12345 7\n", {{0x10, {0x23, 0x01}}}, 0x10},
      {"TextHexLastTokenOnlyWhenComplete", false, "@10 1 22\n@20 333\n@30 4444\n",
       {{0x10, {0x01, 0x22}}, {0x30, {0x44, 0x44}}}, 0x10},
      {"TextHexLineWithoutAtHasAddressZero", false, "@100 11\n\n", {{0x100, {0x11}}}, 0},
      {"TextHexNothingAt16MiB", false, "@FFFFFF 1122 33\n", {{0xFFFFFF, {0x22}}}, 0xFFFFFF},
      {"TextHexAddressOnly", false, "@500", {}, 0x500},
      // Bytes past the top of the address space are dropped, not wrapped to 0.
      {"Ti430PastTopDropped", true, "@FFFFFFFF\n11 22 33\n", {}, 0xFFFFFFFF},
      {"Ti430PastTopUntilNextAddress", true, "@FFFFFFFE\n11 22 33\n@20\n44\n", {{0x20, {0x44}}}, 0x20},
      {"Ti430AddressPastTopStoresNothing", true, "@100000010\n11\n", {}, 0xFFFFFFFF},
      {"TextHexPastTopDropped", false, "@FFFFFFFF 11 22 33\n", {}, 0xFFFFFFFF},
      {"TextHexWordPastTopDropped", false, "@FFFFFFFF 2211 33\n", {}, 0xFFFFFFFF},
      {"TextHexAddressPastTopStoresNothing", false, "@100000010 11\n@30 55\n", {{0x30, {0x55}}}, 0x30},
  };
}

class TextLoaderTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextLoaderTest, StoresStartAndEnd) {
  const TextCase& c = GetParam();
  ImageBuffer image;
  rhb::MemorySource source(c.text);
  uint32_t start = 7, end = 7;
  rhb::FrameResult r = c.ti430 ? rhb::LoadTi430Text(source, image.data(), &start, &end)
                               : rhb::LoadTextHex(source, image.data(), &start, &end);
  EXPECT_FALSE(r.io_failed);
  EXPECT_EQ(start, c.start);
  EXPECT_EQ(end, 0xFFFFu);
  ExpectOnlyStored(image, c.stored);
}

INSTANTIATE_TEST_SUITE_P(Text, TextLoaderTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Addresses far beyond any buffer touch nothing, past 16 MiB or wrapped.
TEST(TextLoaderTest, HostileAddressesStoreNothing) {
  ImageBuffer image;
  uint32_t start = 0, end = 0;
  const std::string ti_text = "@FFFFFFF0\n" + std::string(600, 'A') + "\n@7FFFFFFF\n11 22\n";
  rhb::MemorySource ti(ti_text);
  rhb::LoadTi430Text(ti, image.data(), &start, &end);
  rhb::MemorySource th("@80000000 1111 22\n@FFFFFFFF 33 44\n");
  rhb::LoadTextHex(th, image.data(), &start, &end);
  EXPECT_EQ(image.Changed(), 0u);
}

}  // namespace
