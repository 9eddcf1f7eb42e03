#pragma once
// The station program: its state, the main window and the six dialogs,
// created in the order the program has always created them.

#include <memory>
#include <string>
#include <vector>

#include "station/data/station_state.h"
#include "station/window/dialogs.h"
#include "station/window/main_form.h"

namespace zek {

class StationProgram {
 public:
  StationProgram(const EditionTexts& texts, MainFormOptions options);
  ~StationProgram();
  StationState& State() { return *st_; }
  TProgramZEKFrm& Main() { return *main_; }
  const StationDialogs& Dialogs() const { return dialogs_; }

 private:
  std::unique_ptr<StationState> st_;
  std::unique_ptr<TProgramZEKFrm> main_;
  StationDialogs dialogs_;
};

inline constexpr char kApplicationTitle[] = "DorvikLumo-ZEK Programmer Wizard";

// The application's title, which message boxes carry.
void SetApplicationTitle();

// The program's entry: runs the station until its main window closes and
// returns the process's exit status.
int ProgramMain(int argc, char** argv, const EditionTexts& texts);

}  // namespace zek
