#pragma once
// A station program made for a test: a scratch program folder, a fixed
// clock, recording message boxes and beeper, scripted dialogs and file
// dialogs, timers left to the test, and no serial port found.

#include <gtest/gtest.h>

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "station/window/program.h"
#include "station/window/window_services.h"
#include "tests/data/temp_dir.h"
#include "tests/support/fake_views.h"

namespace zek::testing {

// Shows the dialog (its show handler runs), lets the test's script drive
// it, and returns its result; a dialog the script left open is rejected.
class ScriptedDialogs : public DialogRunner {
 public:
  int Run(QDialog& dialog) override;
  // Called with the dialog while it is shown; none: the dialog is rejected.
  std::function<void(QDialog&)> script;
  std::vector<std::string> shown;  // object names, in order
};

// Answers open and save dialogs from a queue; an empty queue cancels.
class ScriptedFiles : public FileDialogs {
 public:
  std::optional<FileDialogAnswer> Open(const FileDialogSpec& spec) override { return Next(spec); }
  std::optional<FileDialogAnswer> Save(const FileDialogSpec& spec) override { return Next(spec); }
  void Answer(const std::string& path, int filter_index = 1) { answers.push_back(FileDialogAnswer{path, filter_index}); }
  std::deque<std::optional<FileDialogAnswer>> answers;
  std::vector<FileDialogSpec> asked;

 private:
  std::optional<FileDialogAnswer> Next(const FileDialogSpec& spec);
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Makes the program (English unless told) without showing it.
  void Create(const std::vector<std::string>& arguments = {}, const EditionTexts* texts = nullptr);
  // Makes it and runs the start-up handler.
  void Start(const std::vector<std::string>& arguments = {}, const EditionTexts* texts = nullptr);

  StationState& st() { return program->State(); }
  TProgramZEKFrm& form() { return program->Main(); }
  // InfoMemo's lines as the station wrote them.
  std::vector<std::string> MemoLines() { return form().Memo().Lines(); }
  // The box texts shown so far.
  std::vector<std::string> BoxTexts() const;

  TempDir dir;
  std::string sysfs;  // an empty device tree: no serial port is found
  FixedClock clock{"2026-12-08", "10:15:02"};
  FakeBoxes boxes;
  FakeBeeper beeper;
  ScriptedDialogs dialogs;
  ScriptedFiles files;
  std::unique_ptr<StationProgram> program;
};

}  // namespace zek::testing
