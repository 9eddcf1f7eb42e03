// The titles the window system holds for the station's windows are exactly
// their captions: nothing is appended to a dialog's.

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "station/window/about_form.h"
#include "station/window/chip_select_form.h"
#include "station/window/config_sn_form.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/log_cfg_form.h"
#include "station/window/option_bytes_form.h"
#include "station/window/program.h"
#include "station/window/qt_views.h"
#include "tests/window_x11/x_window_fixture.h"

namespace zek::testing {
namespace {

struct TitleCase {
  const char* name;
  void (*open)(TProgramZEKFrm&);
  const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }

class DialogTitleTest : public XWindowTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(DialogTitleTest, IsTheCaptionAlone) {
  const TitleCase& c = GetParam();
  Start();
  st().ChipName = "BS32F103CBT6";
  std::string title = "(not shown)";
  dialogs.script = [&](QDialog& dialog) { title = Title(dialog); };
  c.open(form());
  EXPECT_EQ(title, c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogTitleTest,
    ::testing::Values(
        TitleCase{"About", [](TProgramZEKFrm& f) { f.About1->trigger(); }, "About"},
        TitleCase{"LogSettings", [](TProgramZEKFrm& f) { f.COnfigLogFile1->trigger(); }, "Config Log File."},
        TitleCase{"DataPatch", [](TProgramZEKFrm& f) { f.BitBtn2X->click(); }, "Config S/N Constant"},
        TitleCase{"ProgrammerSettings", [](TProgramZEKFrm& f) { f.BitBtn1X->click(); }, "Programmer Base Setting"},
        TitleCase{"ChipSelection", [](TProgramZEKFrm& f) { f.DevButton->click(); }, "Chip Selection Dialog"},
        TitleCase{"OptionBytes", [](TProgramZEKFrm& f) { f.ButtonCFG->click(); },
                  "BS32F103CBT6-- Option Byte Setting"}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

using ApplicationTitleTest = XWindowTest;

TEST_F(ApplicationTitleTest, MainWindowAndMessageBoxesCarryIt) {
  Create();
  form().show();
  EXPECT_EQ(Title(form()), kApplicationTitle);

  std::string box_title = "(not shown)";
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    box_title = Title(*box);
    box->close();
  });
  QtMessageBoxes(&form()).Plain("Project File Open Success!");
  EXPECT_EQ(box_title, kApplicationTitle);
}

}  // namespace
}  // namespace zek::testing
