// The About box in both editions.

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "station/window/about_form.h"
#include "tests/window/window_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

struct AboutCase {
  const EditionTexts* (*edition)();
  const char* version;
  const char* date;
};

class AboutBoxTest : public WindowTest, public ::testing::WithParamInterface<AboutCase> {};

TEST_P(AboutBoxTest, ShowsTheEditionsVersionAndDate) {
  Start({}, GetParam().edition());
  TAboutForm& about = *program->Dialogs().AboutForm;
  dialogs.script = [&](QDialog&) { about.BitBtn1->click(); };
  form().About1->trigger();
  EXPECT_EQ(dialogs.shown, std::vector<std::string>{"AboutForm"});
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_EQ(about.windowTitle().toStdString(), "About");
  EXPECT_EQ(about.Label1->text().toStdString(), "Dorvik410ZEK Flash MCU Programmer");
  EXPECT_EQ(about.Label2->text().toStdString(), GetParam().version);
  EXPECT_TRUE(about.Label3->text().startsWith(QString::fromUtf8(GetParam().date)));
}

INSTANTIATE_TEST_SUITE_P(Editions, AboutBoxTest,
                         ::testing::Values(AboutCase{[] { return &EnglishEdition(); }, "Version V3.1",
                                                     "2024年12月31日"},
                                           AboutCase{[] { return &ChineseEdition(); }, "Version V3.2",
                                                     "2025年04月02日"}),
                         [](const auto& info) { return ::zek::testing::CaseName(info.param.version); });

// The picture sits on a transparent ground and shows something.
TEST(AboutPicture, DrawsOnATransparentGround) {
  const QImage image = AboutPicture(64).toImage();
  ASSERT_EQ(image.size(), QSize(64, 64));
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(32, 32)), 255);
}

}  // namespace
}  // namespace zek::testing
