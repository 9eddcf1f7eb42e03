#pragma once
// What the window asks of the desktop beyond its own widgets: modal
// dialogs and the file dialogs. The program uses the real ones; tests put
// scripted answers in their place, so no test opens a modal loop.

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace zek {

// Shows a dialog modally and returns its result (QDialog::Accepted or
// Rejected). The dialog's show handler runs through its show event.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual int Run(QDialog& dialog) = 0;
};

struct FileDialogSpec {
  std::string Title;
  std::string Filter;  // "Name (*.ext)|*.ext|..." pairs as the form stores them
  std::string DefaultExt;
  std::string FileName;  // proposed name, may be empty
  int FilterIndex = 1;   // 1-based filter chosen when the dialog opens
};

struct FileDialogAnswer {
  std::string Path;
  int FilterIndex = 1;  // 1-based, as the form's dialogs count
};

// Open and save dialogs; nullopt when the operator cancels.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<FileDialogAnswer> Open(const FileDialogSpec& spec) = 0;
  virtual std::optional<FileDialogAnswer> Save(const FileDialogSpec& spec) = 0;
};

// The real ones.
DialogRunner& ModalDialogRunner();
std::unique_ptr<FileDialogs> MakeDesktopFileDialogs(QWidget* parent);

}  // namespace zek
