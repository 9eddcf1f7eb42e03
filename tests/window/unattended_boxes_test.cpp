// A run the command line drives has nobody to answer a box: each box text
// becomes a line of the information log, and of standard error for the
// caller, and the run goes on. A window opened without a command line
// keeps its boxes.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "station/window/edition_texts.h"
#include "station/window/error_handler.h"
#include "tests/window/window_fixture.h"
#include "tools/demo-station/demo_project.h"

namespace zek::testing {
namespace {

struct BoxCase {
  const char* name;
  // Brings the box about in a started window.
  void (*act)(TProgramZEKFrm& form, const std::string& dir);
  // The box's text.
  std::string (*text)(const std::string& dir);
};

// Takes what is written to std::cerr while it lives.
class StandardErrorCapture {
 public:
  StandardErrorCapture() : earlier_(std::cerr.rdbuf(taken_.rdbuf())) {}
  ~StandardErrorCapture() { std::cerr.rdbuf(earlier_); }
  std::string Text() const { return taken_.str(); }

 private:
  std::ostringstream taken_;
  std::streambuf* earlier_;
};

class UnattendedBoxesTest : public WindowTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(UnattendedBoxesTest, AreLinesWhileTheCommandLineNamesAProject) {
  // A "Log" that is a plain file: the close-time log cannot be written.
  std::ofstream(dir.File("Log")) << "not a folder\n";
  demo::WriteDemoProject(dir.File("board.RQT"), "BF7112A-JCST");
  const std::string text = GetParam().text(dir.File(""));
  for (const bool command_line : {false, true}) {
    program.reset();
    boxes.shown.clear();
    StandardErrorCapture told;
    Start(command_line ? std::vector<std::string>{dir.File("absent.RQT"), "OFF"} : std::vector<std::string>{});
    GetParam().act(form(), dir.File(""));
    form().Memo().Flush();
    std::istringstream told_lines(told.Text());
    int told_count = 0;
    for (std::string line; std::getline(told_lines, line);) told_count += line == text ? 1 : 0;
    EXPECT_EQ(told_count, command_line ? 1 : 0) << told.Text();
    const std::vector<std::string> box_texts = BoxTexts();
    const bool boxed = std::count(box_texts.begin(), box_texts.end(), text) == 1;
    const std::vector<std::string> lines = MemoLines();
    const bool logged = std::count(lines.begin(), lines.end(), "> 10:15:02 " + text) == 1;
    if (command_line) {
      EXPECT_TRUE(box_texts.empty()) << box_texts.front();
      EXPECT_TRUE(logged);
    } else {
      EXPECT_TRUE(boxed);
      EXPECT_FALSE(logged);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnattendedBoxesTest,
    ::testing::Values(
        BoxCase{"MissingFirmwareFile", [](TProgramZEKFrm&, const std::string&) {},
                [](const std::string& dir) { return "File \"" + dir + "DKxLumZEK.FWR\"Not Found, Please Confirm!"; }},
        BoxCase{"AdapterBoardNote",
                [](TProgramZEKFrm& form, const std::string& dir) {
                  ASSERT_TRUE(form.LoadProjectFile(dir + "board.RQT"));
                  EXPECT_EQ(form.State().ChipClassCode, 0x40);
                },
                [](const std::string&) { return EnglishEdition().S(Tx::BoardNote); }},
        BoxCase{"UnwritableCloseLog",
                [](TProgramZEKFrm& form, const std::string&) {
                  form.show();
                  EXPECT_TRUE(form.close());
                  EXPECT_TRUE(form.Closed());
                },
                [](const std::string&) { return std::string("Write Log File error!"); }},
        BoxCase{"NoObjectFile", [](TProgramZEKFrm& form, const std::string&) { form.SpdBtnProgClick(); },
                [](const std::string&) { return std::string("Please load object file!"); }},
        BoxCase{"GeneralErrorHandler",
                [](TProgramZEKFrm&, const std::string&) {
                  RunGuarded([] { throw std::runtime_error("File access denied"); });
                },
                [](const std::string&) { return std::string("File access denied"); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
