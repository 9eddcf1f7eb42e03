// Close: the summary lines, the log file chosen in the log settings
// dialog, and what a failing write does to the close.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "serial/comm_component.h"
#include "station/window/dialogs.h"
#include "station/window/radio_group.h"
#include "tests/serial/pty_support.h"
#include "tests/window/window_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

class CloseTest : public WindowTest {
 protected:
  // Chooses the log through the log settings dialog's own controls, as
  // the operator does; false while the dialog has no such controls.
  bool ChooseLog(bool enabled, bool system_named, int mode = 0, const std::string& name = "") {
    bool found = false;
    dialogs.script = [&](QDialog& d) {
      auto* check = d.findChild<QCheckBox*>("CheckBoxLog");
      auto* naming = d.findChild<RadioGroup*>("RadioGrpCreat");
      auto* modes = d.findChild<RadioGroup*>("RadioGrpMod");
      auto* edit = d.findChild<QLineEdit*>("EditLogName");
      auto* ok = d.findChild<QPushButton*>("OK");
      if (check == nullptr || naming == nullptr || modes == nullptr || edit == nullptr || ok == nullptr) return;
      found = true;
      check->setChecked(true);
      naming->SetItemIndex(system_named ? 0 : 1);
      modes->SetItemIndex(mode);
      edit->setText(QString::fromStdString(name));
      check->setChecked(enabled);
      ok->click();
    };
    form().COnfigLogFile1->trigger();
    dialogs.script = nullptr;
    return found;
  }
  void StartShown(const EditionTexts* texts = nullptr) {
    Start({}, texts);
    form().show();
  }
  std::string SystemLog() const { return dir.File("Log/ZEK_2026_12_08_10_15_02.log"); }
};

#define CHOOSE_LOG_OR_SKIP(...) \
  if (!ChooseLog(__VA_ARGS__)) GTEST_SKIP() << "the log settings dialog has no controls yet"

TEST_F(CloseTest, SummaryLinesFollowTheLogInBothEditions) {
  for (const EditionTexts* edition : {&EnglishEdition(), &ChineseEdition()}) {
    program.reset();
    StartShown(edition);
    const size_t before = MemoLines().size();
    EXPECT_TRUE(form().close());
    EXPECT_TRUE(form().Closed());
    std::vector<std::string> expected{edition->S(Tx::CloseSetupLine)};
    for (const std::string& line : form().CfgInfoLines()) expected.push_back(line);
    const std::vector<std::string> lines = MemoLines();
    ASSERT_EQ(lines.size(), before + 7);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end()), expected);
  }
}

TEST_F(CloseTest, StartUpOnlyRunStillWritesTheSystemNamedLog) {
  StartShown();
  CHOOSE_LOG_OR_SKIP(true, true);
  EXPECT_TRUE(form().close());
  EXPECT_EQ(ReadLines(SystemLog()), MemoLines());
  EXPECT_GT(MemoLines().size(), 6u);
}

TEST_F(CloseTest, UncheckedLogWritesNothing) {
  StartShown();
  CHOOSE_LOG_OR_SKIP(false, false, 2, dir.File("user.log"));
  EXPECT_TRUE(form().close());
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("Log")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("user.log")));
}

TEST_F(CloseTest, FailingSystemNamedLogShowsItsBoxAndTheCloseGoesOn) {
  StartShown();
  CHOOSE_LOG_OR_SKIP(true, true);
  std::filesystem::remove(dir.File("Log"));
  std::ofstream(dir.File("Log")) << "a file where the folder should be";
  boxes.shown.clear();
  EXPECT_TRUE(form().close());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Write Log File error!"});
  EXPECT_TRUE(form().Closed());
  EXPECT_FALSE(form().isVisible());
}

TEST_F(CloseTest, FailingUserNamedLogKeepsTheWindowOpenUntilMended) {
  StartShown();
  CHOOSE_LOG_OR_SKIP(true, false, 0, dir.File("missing/user.log"));
  boxes.shown.clear();
  EXPECT_FALSE(form().close());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(boxes.shown[0].text.empty());
  EXPECT_FALSE(form().Closed());
  EXPECT_TRUE(form().isVisible());
  CHOOSE_LOG_OR_SKIP(true, false, 1, dir.File("user.log"));
  EXPECT_TRUE(form().close());
  EXPECT_EQ(ReadLines(dir.File("user.log")), MemoLines());
}

TEST_F(CloseTest, AppendModeStartsAMissingFileWithItsHeader) {
  StartShown();
  CHOOSE_LOG_OR_SKIP(true, false, 2, dir.File("append.log"));
  EXPECT_TRUE(form().close());
  std::vector<std::string> expected{"Kelpra Log File!"};
  for (const std::string& line : MemoLines()) expected.push_back(line);
  EXPECT_EQ(ReadLines(dir.File("append.log")), expected);
}

TEST_F(CloseTest, ClearInformationEmptiesTheLogAndItsBox) {
  Start();
  ASSERT_FALSE(MemoLines().empty());
  form().ClearInformation1->trigger();
  form().Memo().Flush();
  EXPECT_TRUE(MemoLines().empty());
  EXPECT_TRUE(form().InfoMemo->toPlainText().isEmpty());
  form().AddInfoLine("after");
  form().Memo().Flush();
  EXPECT_EQ(form().InfoMemo->toPlainText().toStdString(), "> 10:15:02 after");
}

// A command-line run closes the station on the tick after the last
// download, whose reset into stand-alone mode may still be queued: what the
// ports were given reaches the units before the ports close.
TEST_F(CloseTest, PortsSendEverythingQueuedBeforeTheyClose) {
  StartShown();
  PtyPair pty;
  ComLinkFolder links;
  links.Link("COM1", pty.slave_path());
  TComm& comm = form().CommOf(0);
  comm.SetCommName("COM1");
  comm.OpenPort();
  // More than the terminal holds, so the writes wait for a slow reader.
  std::vector<uint8_t> sent;
  for (uint8_t seed = 1; seed <= 3; ++seed) {
    const std::vector<uint8_t> block = Pattern(10000, seed);
    ASSERT_TRUE(comm.SendBuffer(block.data(), static_cast<uint16_t>(block.size())));
    sent.insert(sent.end(), block.begin(), block.end());
  }
  SlowReader unit(pty, sent.size());
  EXPECT_TRUE(form().close());
  const std::vector<uint8_t> got = unit.Join();
  EXPECT_FALSE(comm.IsOpen());
  EXPECT_EQ(got.size(), sent.size());
  EXPECT_TRUE(got == sent);
}

struct OpenerCase {
  const char* control;
  const char* dialog;
};

class DialogOpenerTest : public WindowTest, public ::testing::WithParamInterface<OpenerCase> {};

TEST_P(DialogOpenerTest, RunsItsDialogThroughTheRunner) {
  Start();
  const OpenerCase& c = GetParam();
  bool accepted_anyway = false;
  dialogs.script = [&](QDialog& d) {
    d.accept();
    accepted_anyway = true;
  };
  if (auto* action = form().findChild<QAction*>(c.control)) {
    action->trigger();
  } else {
    form().findChild<QPushButton*>(c.control)->click();
  }
  EXPECT_EQ(dialogs.shown, std::vector<std::string>{c.dialog});
  EXPECT_TRUE(accepted_anyway);
  EXPECT_TRUE(BoxTexts().size() <= 1u) << "only the start-up box";
}

INSTANTIATE_TEST_SUITE_P(Table, DialogOpenerTest,
                         ::testing::Values(OpenerCase{"COnfigLogFile1", "LogCfgForm"},
                                           OpenerCase{"BitBtn2X", "ConfigSNForm"},
                                           OpenerCase{"BitBtn1X", "KelpraCfgForm"},
                                           OpenerCase{"About1", "AboutForm"}),
                         [](const auto& info) { return std::string(info.param.control); });

}  // namespace
}  // namespace zek::testing
