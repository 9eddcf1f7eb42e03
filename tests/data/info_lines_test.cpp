#include "station/data/info_lines.h"

#include <gtest/gtest.h>

#include <sstream>

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

// Every kind of box of a run nobody watches: its text is a log line and
// one line of the stream the caller reads.
struct LineBoxCase {
  const char* name;
  void (*show)(MessageBoxView& boxes, const std::string& text);
  std::string text;
  std::string told;  // the line written to the stream
};

class InfoLineBoxesTest : public ::testing::TestWithParam<LineBoxCase> {};

TEST_P(InfoLineBoxesTest, WriteTheTextToTheLogAndOneLineToTheStream) {
  const LineBoxCase& c = GetParam();
  testing::FakeStation fs;
  std::ostringstream told;
  InfoLineBoxes boxes(fs.st, &told);
  c.show(boxes, c.text);
  EXPECT_EQ(fs.memo.lines, std::vector<std::string>{"> 10:15:02 " + c.text});
  EXPECT_EQ(told.str(), c.told + "\n");
}

void ShowInformation(MessageBoxView& b, const std::string& t) { b.Information(t); }
void ShowWarning(MessageBoxView& b, const std::string& t) { b.Warning(t); }
void ShowPlain(MessageBoxView& b, const std::string& t) { b.Plain(t); }
void ShowErrorOkAbort(MessageBoxView& b, const std::string& t) { EXPECT_EQ(b.ErrorOkAbort(t), BoxChoice::Ok); }

INSTANTIATE_TEST_SUITE_P(
    Table, InfoLineBoxesTest,
    ::testing::Values(
        LineBoxCase{"Information", ShowInformation, "Please load object file!", "Please load object file!"},
        LineBoxCase{"Warning", ShowWarning, "File 1 holds file 2", "File 1 holds file 2"},
        LineBoxCase{"ErrorOkAbort", ShowErrorOkAbort, "Line 3 : :10000000 error code 4",
                    "Line 3 : :10000000 error code 4"},
        LineBoxCase{"Plain", ShowPlain, "Write Log File error!", "Write Log File error!"},
        LineBoxCase{"LineBreaks", ShowPlain, "\nFirst line\r\nsecond\n\nthird\r\n", "First line second third"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek
