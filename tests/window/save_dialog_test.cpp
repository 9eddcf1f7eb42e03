// The desktop's save dialog (Qt's own dialog, offscreen): a name typed
// without a suffix gets the suffix of the filter the operator chose.

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <vector>

#include "station/window/image_file_dialogs.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

struct SuffixCase {
  const char* name;
  FileDialogSpec spec;
  std::vector<Qt::Key> keys;  // pressed on the filter list before typing
  const char* typed;
  const char* saved;  // the file name handed back
  int filter;
};

FileDialogSpec ProjectSaveDialog() {
  return {"Save to Dorvik410xx Project File", "Dorvikxx Project File(*.RQT)|*.RQT", "RQT", "", 1};
}

class SaveDialogSuffix : public WindowTest, public ::testing::WithParamInterface<SuffixCase> {
 protected:
  // Drives the open dialog as the operator does, once it is up.
  void DriveWhenShown(const SuffixCase& c) {
    const QString folder = QString::fromStdString(dir.File(""));
    QTimer::singleShot(0, [c, folder] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_TRUE(types != nullptr && name != nullptr);
      for (Qt::Key key : c.keys) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(types, &press);
      }
      // A fresh folder: no overwrite question.
      name->setText(folder + c.typed);
      QMetaObject::invokeMethod(dialog, "accept");
    });
  }
};

TEST_P(SaveDialogSuffix, FollowsTheChosenFilter) {
  const SuffixCase& c = GetParam();
  Create();
  std::unique_ptr<FileDialogs> desktop = MakeDesktopFileDialogs(&form());
  DriveWhenShown(c);
  const auto answer = desktop->Save(c.spec);
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(QFileInfo(QString::fromStdString(answer->Path)).fileName().toStdString(), c.saved);
  EXPECT_EQ(answer->FilterIndex, c.filter);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, SaveDialogSuffix,
    ::testing::Values(SuffixCase{"Binary", BufferSaveDialog(), {}, "dump", "dump.bin", 1},
                      SuffixCase{"Text", BufferSaveDialog(), {Qt::Key_Down}, "dump", "dump.TXT", 2},
                      SuffixCase{"TextThenBinary", BufferSaveDialog(), {Qt::Key_Down, Qt::Key_Up}, "dump",
                                 "dump.bin", 1},
                      SuffixCase{"TypedSuffixStays", BufferSaveDialog(), {Qt::Key_Down}, "dump.txt", "dump.txt", 2},
                      SuffixCase{"Project", ProjectSaveDialog(), {}, "line7", "line7.RQT", 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
