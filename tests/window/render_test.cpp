// Offscreen rendering of the window, as the screenshot tool does it.

#include <QPushButton>

#include "tests/window/window_fixture.h"
#include "tools/window-shots/window_render.h"

namespace zek::testing {
namespace {

using RenderTest = WindowTest;

TEST_F(RenderTest, MainWindowRendersAtItsSizeAndIsNotBlank) {
  Start();
  form().show();
  const QImage image = shots::Render(form());
  EXPECT_EQ(image.size(), form().size());
  EXPECT_GT(shots::InkPixels(image, image.rect()), image.width() * image.height() / 50);
}

TEST_F(RenderTest, ChineseCaptionIsDrawn) {
  Start({}, &ChineseEdition());
  form().show();
  QPushButton* button = form().BitBtn1X;
  ASSERT_EQ(button->text().toStdString(), ChineseEdition()[Tx::BitBtn1X]);
  const QRect area(button->mapTo(&form(), QPoint(4, 4)), button->size() - QSize(8, 8));
  const QImage with_caption = shots::Render(form());
  button->setText(QString());
  const QImage without = shots::Render(form());
  // Sixteen characters leave far more than a few strokes' worth of ink.
  EXPECT_GT(shots::ChangedPixels(with_caption, without, area), 400);
}

}  // namespace
}  // namespace zek::testing
