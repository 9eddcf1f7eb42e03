// Pictures of the four hex grids in both editions, for a person to look
// at: written only when ZEK_SCREENSHOT_DIR names a folder.

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPixmap>
#include <cstdlib>
#include <cstring>

#include "tests/window/image_fixture.h"
#include "tests/support/case_names.h"

namespace zek::testing {
namespace {

class GridScreenshotTest : public ImageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(GridScreenshotTest, RendersEveryGridTab) {
  const char* folder = std::getenv("ZEK_SCREENSHOT_DIR");
  if (folder == nullptr) GTEST_SKIP() << "set ZEK_SCREENSHOT_DIR to write the pictures";
  const bool chinese = std::strcmp(GetParam(), "zh") == 0;
  StartShown(chinese ? &ChineseEdition() : &EnglishEdition());
  SelectChip(0x00, 64, 1024, 256);
  std::vector<uint8_t> bytes = RandomBytes(0x400, 11);
  const char text[] = "DorvikLumo-ZEK station image, printable text ~ 0x7F shows";
  std::copy(text, text + sizeof text - 1, bytes.begin() + 0x40);
  OpenFirst(Convert(bytes, 0, "image.hex", "-Intel"));
  files.Answer(dir.Write("eep.dat", RandomBytes(1024 + 256, 12)), 1);
  form().LoadEepData1->trigger();
  std::copy(bytes.begin(), bytes.end(), st().ReadMainBuffer.begin());
  std::fill(st().ReadEepBuffer.begin(), st().ReadEepBuffer.begin() + 1024, 0x5A);
  form().ShowReadMainData();
  form().ShowReadEepData();
  ShowEepTab();
  form().EEPViewSelectCell(3, 2);
  form().EEPViewMouseDown(200, 60);
  form().EEPViewDblClick();
  form().EditEEP->setText("a5");
  form().HexViewer->setCurrentIndex(form().HexViewer->model()->index(2, 5));

  for (QWidget* page : {form().TabSheetFlash, form().TabSheetEep, form().TabSheetRdMF, form().TabSheetRdEEP}) {
    form().ViewPageCtrl->setCurrentWidget(page);
    QApplication::processEvents();
    const QPixmap picture = form().grab();
    ASSERT_FALSE(picture.isNull());
    const QString path = QString("%1/%2_%3.png").arg(folder, GetParam(), page->objectName());
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Editions, GridScreenshotTest, ::testing::Values("en", "zh"),
                         ::zek::testing::PrintedName());

}  // namespace
}  // namespace zek::testing
