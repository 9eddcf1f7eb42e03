#include "tests/window/window_fixture.h"

#include <stdlib.h>

#include <QApplication>
#include <filesystem>

namespace zek::testing {

int ScriptedDialogs::Run(QDialog& dialog) {
  shown.push_back(dialog.objectName().toStdString());
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  QApplication::processEvents();
  if (script) script(dialog);
  if (dialog.isVisible()) dialog.reject();
  return dialog.result();
}

std::optional<FileDialogAnswer> ScriptedFiles::Next(const FileDialogSpec& spec) {
  asked.push_back(spec);
  if (answers.empty()) return std::nullopt;
  auto answer = answers.front();
  answers.pop_front();
  return answer;
}

WindowTest::WindowTest() {
  sysfs = dir.File("sys");
  std::filesystem::create_directories(sysfs + "/class/tty");
  setenv("ZEK_SYSFS_ROOT", sysfs.c_str(), 1);
  setenv("ZEK_COM_DIR", dir.File("com").c_str(), 1);
}

WindowTest::~WindowTest() {
  program.reset();
  QApplication::processEvents();
}

void WindowTest::Create(const std::vector<std::string>& arguments, const EditionTexts* texts) {
  MainFormOptions options;
  options.ProgramPath = dir.File("DorvikLumo_ZEK");
  options.Arguments = arguments;
  options.StartTimers = false;
  options.Dialogs = &dialogs;
  options.Files = &files;
  program = std::make_unique<StationProgram>(texts != nullptr ? *texts : EnglishEdition(), options);
  st().TimeSource = &clock;
  st().Views.Boxes = &boxes;
  st().Views.Beeper = &beeper;
}

void WindowTest::Start(const std::vector<std::string>& arguments, const EditionTexts* texts) {
  Create(arguments, texts);
  form().FormShow();
  form().Memo().Flush();
}

std::vector<std::string> WindowTest::BoxTexts() const {
  std::vector<std::string> texts;
  for (const ShownBox& box : boxes.shown) texts.push_back(box.text);
  return texts;
}

}  // namespace zek::testing
