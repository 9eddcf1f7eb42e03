// The three small dialogs laid out in both editions: nothing clipped or
// outside the dialog. With ZEK_SCREENSHOT_DIR set, each is also saved as a
// PNG there for a look.

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <cstdlib>

#include "station/data/chip_memory_map.h"
#include "station/window/about_form.h"
#include "station/window/config_sn_form.h"
#include "station/window/option_bytes_form.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

struct LayoutCase {
  const char* name;
  bool chinese;
  QDialog* (*dialog)(const StationDialogs&);
};

class DialogLayoutTest : public WindowTest, public ::testing::WithParamInterface<LayoutCase> {};

void ExpectWhole(QDialog& dialog, const std::string& name) {
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&dialog)) continue;
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QComboBox*>(w) &&
        !qobject_cast<QLineEdit*>(w))
      continue;
    const std::string what = name + " " + w->objectName().toStdString() + " (" +
                             w->metaObject()->className() + ")";
    // A stretched picture fits any size; text must have its full width.
    auto* label = qobject_cast<QLabel*>(w);
    if (label == nullptr || !label->hasScaledContents()) {
      EXPECT_GE(w->width(), w->minimumSizeHint().width()) << what;
      if (label != nullptr) {
        EXPECT_GE(w->width(), w->sizeHint().width()) << what;
      }
    }
    const QRect box(w->mapTo(&dialog, QPoint(0, 0)), w->size());
    EXPECT_TRUE(dialog.rect().contains(box)) << what;
  }
}

TEST_P(DialogLayoutTest, NothingClipped) {
  const LayoutCase& c = GetParam();
  Start({}, c.chinese ? &ChineseEdition() : &EnglishEdition());
  st().ChipClassCode = 0x10;
  st().ChipFlashSizeKB = 64;
  st().ChipName = "BS32F003";
  SetMemoryMap(st());
  QDialog& dialog = *c.dialog(program->Dialogs());
  const std::string name = std::string(c.name) + (c.chinese ? "_zh" : "_en");
  dialogs.script = [&](QDialog&) {
    dialog.adjustSize();
    ExpectWhole(dialog, name);
    if (const char* folder = std::getenv("ZEK_SCREENSHOT_DIR")) {
      EXPECT_TRUE(dialog.grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png")));
    }
  };
  program->Main().Runner().Run(dialog);
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

QDialog* Patch(const StationDialogs& d) { return d.ConfigSNForm; }
QDialog* Options(const StationDialogs& d) { return d.BS32xOptBytFrm; }
QDialog* About(const StationDialogs& d) { return d.AboutForm; }

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLayoutTest,
                         ::testing::Values(LayoutCase{"ConfigSNForm", false, Patch},
                                           LayoutCase{"ConfigSNForm", true, Patch},
                                           LayoutCase{"BS32xOptBytFrm", false, Options},
                                           LayoutCase{"BS32xOptBytFrm", true, Options},
                                           LayoutCase{"AboutForm", false, About},
                                           LayoutCase{"AboutForm", true, About}),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           return std::string(info.param.name) + (info.param.chinese ? "_zh" : "_en");
                         });

}  // namespace
}  // namespace zek::testing
