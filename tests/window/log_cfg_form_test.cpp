// The log settings dialog, shown and driven through its widgets, and what
// the close handler reads from it.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <filesystem>

#include "station/window/log_cfg_form.h"
#include "station/window/radio_group.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

class LogCfgTest : public WindowTest {
 protected:
  void SetUp() override { Start(); }

  TLogCfgForm& Dialog() { return *program->Dialogs().LogCfgForm; }

  // Opens the dialog from the menu; `drive` runs while it is shown.
  int Open(const std::function<void(TLogCfgForm&)>& drive) {
    dialogs.script = [drive](QDialog& d) { drive(static_cast<TLogCfgForm&>(d)); };
    form().COnfigLogFile1->trigger();
    return Dialog().result();
  }

  static void ExpectEnabled(TLogCfgForm& d, bool create, bool mode, bool browse, bool name) {
    EXPECT_EQ(d.RadioGrpCreat->isEnabled(), create);
    EXPECT_EQ(d.RadioGrpMod->isEnabled(), mode);
    EXPECT_EQ(d.SpeedButtonOP->isEnabled(), browse);
    EXPECT_EQ(d.EditLogName->isEnabled(), name);
  }

  int LogFiles() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("Log"))) n += entry.is_regular_file();
    return n;
  }
};

TEST_F(LogCfgTest, FirstShowChoosesAProgramNamedNewFile) {
  EXPECT_EQ(Dialog().GetLogFileName(), "MTx_2019xx.log");  // the stored layout's, unused while program-named
  Open([](TLogCfgForm& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "Config Log File.");
    EXPECT_EQ(d.CheckBoxLog->text().toStdString(), "Generate Log File");
    EXPECT_EQ(d.LabelLogD->text().toStdString(), "Specific Log File Name:       ");
    EXPECT_EQ(d.RadioGrpCreat->title().toStdString(), "Use Log");
    EXPECT_EQ(d.RadioGrpCreat->Items(), (QStringList{"System Generate Log File", "Customer Define Log File"}));
    EXPECT_EQ(d.RadioGrpMod->title().toStdString(), "Log File Mode ");
    EXPECT_EQ(d.RadioGrpMod->Items(),
              (QStringList{"Generate New File", "Overwrite Old File", "Append to Old File"}));
    EXPECT_EQ(d.SpeedButtonOP->text().toStdString(), "浏览");
    ExpectEnabled(d, true, false, false, false);
    d.OK->click();
  });
  EXPECT_TRUE(Dialog().LogEnabled());
  EXPECT_TRUE(Dialog().LogNameAuto());
  EXPECT_EQ(Dialog().LogMode(), 0);
  EXPECT_EQ(Dialog().GetLogFileName(), "");
}

TEST_F(LogCfgTest, CustomerNamedLogLastsUntilTheNextShow) {
  const std::string path = dir.File("mine.log");
  files.Answer(path);
  EXPECT_EQ(Open([](TLogCfgForm& d) {
              d.RadioGrpCreat->Button(1)->click();
              ExpectEnabled(d, true, true, true, true);
              d.RadioGrpMod->Button(2)->click();
              d.SpeedButtonOP->click();
              d.OK->click();
            }),
            QDialog::Accepted);
  ASSERT_EQ(files.asked.size(), 1u);
  EXPECT_EQ(files.asked[0].Filter, "All Log Files(*.Log,*.Txt)|*.log;*.Txt");
  EXPECT_EQ(files.asked[0].DefaultExt, "*.log");
  EXPECT_FALSE(Dialog().LogNameAuto());
  EXPECT_EQ(Dialog().LogMode(), 2);
  EXPECT_EQ(Dialog().GetLogFileName(), path);

  // Browsing again and cancelling keeps the name.
  Open([&](TLogCfgForm& d) {
    EXPECT_EQ(d.EditLogName->text().toStdString(), "");
    ExpectEnabled(d, true, false, false, false);
    d.RadioGrpCreat->Button(1)->click();
    d.EditLogName->setText("kept.log");
    d.SpeedButtonOP->click();
    EXPECT_EQ(d.EditLogName->text().toStdString(), "kept.log");
  });
  EXPECT_EQ(files.asked.back().FileName, path);  // the dialog remembers its last pick
  Open([](TLogCfgForm&) {});
  EXPECT_TRUE(Dialog().LogNameAuto());
  EXPECT_EQ(Dialog().LogMode(), 0);
  EXPECT_EQ(Dialog().GetLogFileName(), "");
}

TEST_F(LogCfgTest, CustomerNamedLogNeedsANameBeforeOKCloses) {
  Open([this](TLogCfgForm& d) {
    d.RadioGrpCreat->Button(1)->click();
    d.OK->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(BoxTexts().back(), "Please Input Valid Log File name!");
    EXPECT_EQ(boxes.shown.back().kind, "plain");
    EXPECT_EQ(d.focusWidget(), d.EditLogName);
    d.EditLogName->setText("  ");
    d.OK->click();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(Dialog().result(), QDialog::Accepted);
  EXPECT_EQ(Dialog().GetLogFileName(), "  ");
}

TEST_F(LogCfgTest, TheLogBoxSwitchesTheFourControlsWhateverTheNameMode) {
  Open([](TLogCfgForm& d) {
    d.CheckBoxLog->setChecked(false);
    ExpectEnabled(d, false, false, false, false);
    // A program-named choice always closes, also with the log off.
    d.OK->click();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_FALSE(Dialog().LogEnabled());
  Open([](TLogCfgForm& d) {
    EXPECT_FALSE(d.CheckBoxLog->isChecked());  // not reloaded
    ExpectEnabled(d, false, false, false, false);
    d.CheckBoxLog->setChecked(true);
    ExpectEnabled(d, true, true, true, true);
  });
}

TEST_F(LogCfgTest, CloseWritesNoLogWhenTheLogIsOff) {
  const std::string named = dir.File("named.log");
  Open([&](TLogCfgForm& d) {
    d.RadioGrpCreat->Button(1)->click();
    d.EditLogName->setText(QString::fromStdString(named));
    d.CheckBoxLog->setChecked(false);
  });
  for (int i = 0; i < 10; ++i) form().AddInfoLine("line");
  form().close();
  EXPECT_TRUE(form().Closed());
  EXPECT_EQ(LogFiles(), 0);
  EXPECT_FALSE(std::filesystem::exists(named));
}

TEST_F(LogCfgTest, CloseWritesTheProgramNamedLogByDefault) {
  for (int i = 0; i < 10; ++i) form().AddInfoLine("line");
  form().close();
  EXPECT_EQ(LogFiles(), 1);
}

class LogCfgChineseTest : public LogCfgTest {
 protected:
  void SetUp() override { Start({}, &ChineseEdition()); }
};

TEST_F(LogCfgChineseTest, CaptionsItemsAndMessageAreTheChineseEditions) {
  Open([this](TLogCfgForm& d) {
    EXPECT_EQ(d.CheckBoxLog->text().toStdString(), "生成Log文件");
    EXPECT_EQ(d.LabelLogD->text().toStdString(), "指定Log文件名：       ");
    EXPECT_EQ(d.RadioGrpCreat->Items(), (QStringList{"系统自动生成Logo文件", "客户指定Log文件"}));
    EXPECT_EQ(d.RadioGrpMod->Items(), (QStringList{"生成新的文件", "覆盖原文件", "追加到原文件尾部"}));
    EXPECT_EQ(d.RadioGrpCreat->title().toStdString(), "Use Log");
    EXPECT_EQ(d.SpeedButtonOP->text().toStdString(), "浏览");
    d.RadioGrpCreat->Button(1)->click();
    d.OK->click();
    EXPECT_EQ(BoxTexts().back(), "请输入有效的Log文件名称！");
  });
}

}  // namespace
}  // namespace zek::testing
