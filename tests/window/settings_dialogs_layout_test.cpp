// The two settings dialogs laid out in both editions: every caption fits its
// control and no two controls overlap. With ZEK_SCREENSHOT_DIR set, each
// dialog is also saved there as a PNG for a look.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>

#include "station/window/dialogs.h"
#include "station/window/radio_group.h"
#include "tests/window/window_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

// The controls a reader sees, in dialog coordinates.
std::vector<std::pair<QWidget*, QRect>> Controls(QDialog& dialog) {
  std::vector<std::pair<QWidget*, QRect>> controls;
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisible() || qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr) continue;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QAbstractSpinBox*>(w))
      controls.emplace_back(w, QRect(w->mapTo(&dialog, QPoint(0, 0)), w->size()));
  }
  return controls;
}

void CheckLayout(QDialog& dialog, const std::string& edition) {
  const auto controls = Controls(dialog);
  ASSERT_GT(controls.size(), 5u);
  for (const auto& [w, rect] : controls) {
    const std::string name = w->objectName().toStdString() + " (" + edition + ")";
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
      EXPECT_GE(w->width(), w->sizeHint().width()) << name << " cuts its caption";
    }
    EXPECT_TRUE(dialog.rect().contains(rect)) << name << " lies outside the dialog";
  }
  for (size_t i = 0; i < controls.size(); ++i)
    for (size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(controls[i].second.intersects(controls[j].second))
          << controls[i].first->objectName().toStdString() << " overlaps "
          << controls[j].first->objectName().toStdString() << " (" << edition << ")";
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
    EXPECT_GE(group->width(), group->minimumSizeHint().width()) << group->objectName().toStdString();
  if (const char* folder = std::getenv("ZEK_SCREENSHOT_DIR")) {
    const QString file = QString("%1/%2_%3.png").arg(folder, dialog.objectName(), QString::fromStdString(edition));
    EXPECT_TRUE(dialog.grab().save(file)) << file.toStdString();
  }
}

class SettingsDialogsLayoutTest : public WindowTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    Start({}, std::string(GetParam()) == "zh" ? &ChineseEdition() : &EnglishEdition());
  }
};

TEST_P(SettingsDialogsLayoutTest, CaptionsFitAndControlsDoNotOverlap) {
  const std::string edition = GetParam();
  dialogs.script = [&](QDialog& d) { CheckLayout(d, edition); };
  form().BitBtn1X->click();
  // The log dialog with every control enabled and a long name picked.
  dialogs.script = [&](QDialog& d) {
    auto& log = static_cast<TLogCfgForm&>(d);
    log.RadioGrpCreat->Button(1)->click();
    log.EditLogName->setText("/home/operator/station/Log/line-4.log");
    CheckLayout(d, edition);
  };
  form().COnfigLogFile1->trigger();
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"KelpraCfgForm", "LogCfgForm"}));
}

INSTANTIATE_TEST_SUITE_P(Editions, SettingsDialogsLayoutTest, ::testing::Values("en", "zh"),
                         ::zek::testing::PrintedName());

}  // namespace
}  // namespace zek::testing
