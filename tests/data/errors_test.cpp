#include "station/data/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zek {
namespace {

TEST(FileError, CarriesTheRuntimeText) {
  EXPECT_STREQ(FileError(ENOENT, "a.hex").what(), "File not found");
  EXPECT_STREQ(FileError(EACCES, "a.hex").what(), "File access denied");
  EXPECT_STREQ(FileError(ENOSPC, "a.hex").what(), "Disk full");
  EXPECT_EQ(FileError(ENOENT, "a.hex").Path(), "a.hex");
}

TEST(StrToInt, ReadsDecimalAndHexadecimal) {
  const std::pair<const char*, int32_t> good[] = {
      {"0", 0},           {"123", 123},           {"  42", 42},          {"-1", -1},
      {"0x1F", 31},       {"x1f", 31},            {"$FF", 255},          {"0xFFFFFFFF", -1},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;
}

TEST(StrToInt, RejectsWhatIsNotANumber) {
  for (const char* text : {"", " ", "12a", "0x", "$", "2147483648", "0x100000000", "1 2", "--1"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid integer value");
    }
  }
}

TEST(StrToInt64, ReadsSixtyFourBitsAndRejectsTheRest) {
  const std::pair<const char*, int64_t> good[] = {
      {"0x90000000", 0x90000000ll}, {"2415919104", 2415919104ll}, {" -5", -5},
      {"$FFFFFFFFFFFFFFFF", -1},    {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(StrToInt64(text), value) << text;
  for (const char* text : {"", "0x", "9223372036854775808", "0x10000000000000000", "12g"}) {
    EXPECT_THROW(StrToInt64(text), ConvertError) << text;
  }
}

}  // namespace
}  // namespace zek
