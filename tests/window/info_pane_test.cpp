// The information pane as the operator sees it in the shown window: the
// log shows its last line when the operator comes back to it after lines
// arrived while another tab was in front (Read Chip brings the read-back
// tab forward), and the setup summary keeps each item on one line.

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>

#include "station/data/chip_memory_map.h"
#include "station/data/info_lines.h"
#include "station/window/kelpra_cfg_form.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

// Lets the window take in its lines and lay itself out (scroll bars
// appear through posted events).
void Settle() {
  for (int turn = 0; turn < 3; ++turn) QApplication::processEvents();
}

struct HiddenLinesCase {
  const char* name;
  size_t width;  // of the line that arrives last while the log is hidden
};

void PrintTo(const HiddenLinesCase& c, std::ostream* os) { *os << c.name; }

class InfoLogViewTest : public WindowTest, public ::testing::WithParamInterface<HiddenLinesCase> {
 protected:
  // The bottom of the log's last line lies inside the visible text.
  bool LastLineShown() {
    QPlainTextEdit* log = form().InfoMemo;
    QTextCursor end(log->document());
    end.movePosition(QTextCursor::End);
    return log->cursorRect(end).bottom() < log->viewport()->height();
  }
};

TEST_P(InfoLogViewTest, ShowsItsLastLineWhenTheOperatorComesBack) {
  Create();
  form().show();
  // Ten units: the gauges take the lower part, the log is at its shortest.
  st().PortSlotCount = 10;
  form().ArrangeGauges();
  for (int n = 0; n < 20; ++n) form().AddInfoLine("unit line " + std::to_string(n));
  Settle();
  ASSERT_TRUE(LastLineShown());

  st().ChipClassCode = 0x10;
  st().ChipFlashSizeKB = 128;
  st().ChipName = "BS32F103CBT6";
  SetMemoryMap(st());
  st().ChipSelected = 1;
  form().ShowReadMainData();
  for (int n = 0; n < 30; ++n) form().AddInfoLine("read line " + std::to_string(n));
  AddPlainLine(st(), std::string(GetParam().width, 'A'));
  Settle();
  ASSERT_FALSE(form().InfoMemo->isVisible());

  QTabWidget& tabs = *form().ViewPageCtrl;
  tabs.tabBar()->setCurrentIndex(tabs.indexOf(form().TabSheetChip));
  Settle();
  const QScrollBar& bar = *form().InfoMemo->verticalScrollBar();
  EXPECT_EQ(bar.value(), bar.maximum()) << "the log is not at its end";
  EXPECT_TRUE(LastLineShown());
}

INSTANTIATE_TEST_SUITE_P(Lines, InfoLogViewTest,
                         ::testing::Values(HiddenLinesCase{"WithinTheLog", 20},
                                           // brings the horizontal scroll bar, which shortens the text
                                           HiddenLinesCase{"WiderThanTheLog", 400}),
                         [](const ::testing::TestParamInfo<HiddenLinesCase>& info) {
                           return std::string(info.param.name);
                         });

struct SummaryCase {
  const char* name;
  bool chinese;
  bool string_sn;
  bool big_endian;
  bool online;
};

void PrintTo(const SummaryCase& c, std::ostream* os) { *os << c.name; }

class SetupSummaryTest : public WindowTest, public ::testing::WithParamInterface<SummaryCase> {};

TEST_P(SetupSummaryTest, KeepsEachItemOnOneLine) {
  const SummaryCase& c = GetParam();
  Create({}, c.chinese ? &ChineseEdition() : nullptr);
  form().show();
  dialogs.script = [&](QDialog& dialog) {
    auto& k = static_cast<TKelpraCfgForm&>(dialog);
    k.CheckBoxSN->setChecked(true);
    k.ChkBoxStrSN->setChecked(c.string_sn);
    k.SNOrderChk->setChecked(c.big_endian);
    k.ChkBoxPCSN->setChecked(c.online);
    k.CheckBoxCtrl->setChecked(true);
    k.BitBtn2->click();
  };
  form().BitBtn1X->click();
  Settle();
  const QTextDocument& summary = *form().CfgInfo->document();
  ASSERT_GT(summary.blockCount(), 6);
  for (QTextBlock item = summary.begin(); item.isValid(); item = item.next())
    EXPECT_EQ(item.layout()->lineCount(), 1) << item.text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Settings, SetupSummaryTest,
                         ::testing::Values(SummaryCase{"StringBigEndian", false, true, true, false},
                                           SummaryCase{"BinaryOnLine", false, false, false, true},
                                           SummaryCase{"ChineseStringBigEndian", true, true, true, false}),
                         [](const ::testing::TestParamInfo<SummaryCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
