#include "station/data/format.h"

#include <gtest/gtest.h>

namespace zek {
namespace {

struct FormatCase {
  const char* pattern;
  std::initializer_list<FormatArg> args;
  const char* expected;
};

TEST(Format, FollowsTheRuntimeRules) {
  const FormatCase cases[] = {
      {"%0.2x", {10}, "0A"},
      {"%0.2x", {0xAB}, "AB"},
      {"%0.2x", {0x1234}, "1234"},  // precision is a minimum
      {"0x%0.8x", {0x1FFF}, "0x00001FFF"},
      {"%0.6x:", {0x10}, "000010:"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%d", {-5}, "-5"},
      {"%u", {-1}, "4294967295"},
      {" C%d: ", {3}, " C3: "},
      {"Line %d : %s, Error=%d.", {12, ":1000", 3}, "Line 12 : :1000, Error=3."},
      {"%S", {"abc"}, "abc"},
      {"%5d|%-5d|", {42, 42}, "   42|42   |"},
      {"%.2s", {"abcdef"}, "ab"},
      {"100%%", {}, "100%"},
      {"%d and %d", {1}, "1 and "},  // a missing argument prints nothing
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.pattern, c.args), c.expected) << c.pattern;
}

}  // namespace
}  // namespace zek
