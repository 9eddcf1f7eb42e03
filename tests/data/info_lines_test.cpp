#include "station/data/info_lines.h"

#include <gtest/gtest.h>

#include "tests/support/fake_views.h"

namespace zek {
namespace {

TEST(InfoLines, CarryTimeAndPortTag) {
  testing::FakeStation fs;
  AddInfoLine(fs.st, "Hello");
  AddPortInfoLine(fs.st, "Data error!", 2);
  AddPortInfoLine(fs.st, "Done", 9);
  AddPlainLine(fs.st, "-----");
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 Hello", "> 10:15:02 C3: Data error!",
                                                      "> 10:15:02 C10: Done", "-----"}));
}

}  // namespace
}  // namespace zek
