// The two timers and the command-line run.

#include <sys/stat.h>

#include <QApplication>
#include <algorithm>

#include "station/data/errors.h"
#include "station/data/file_replace.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/slot_commands.h"
#include "station/link/start_download.h"
#include "station/link/timeouts.h"
#include "station/window/main_form.h"
#include "station/window/tick_probe.h"

namespace zek {
namespace {

constexpr char kResultFileName[] = "ResDW.Txt";

}  // namespace

void TProgramZEKFrm::Timer1Timer() {
  tick_probe_->Tick(std::any_of(st_.PortBusy.begin(), st_.PortBusy.end(), [](uint8_t b) { return b != 0; }));
  CountDownTimeouts(st_);
  // The gauges' only repaint: never more than one a tick, whatever the units did.
  for (auto& gauge : gauges_) gauge->Repaint();
  if (!CommandLineRunFinished(st_) || closing_for_result_) return;
  closing_for_result_ = true;
  try {
    // Whole or absent: a caller never finds a cut result.
    ReplaceFileAtomically(st_.AppDir + kResultFileName, "Download Success\n");
  } catch (const FileError& e) {
    // Said once: the caller learns it from the exit status, and the
    // condition, which stays true, never turns into a write every tick.
    AddInfoLine(std::string("Write ") + kResultFileName + " error! " + e.what());
    result_file_failed_ = true;
  }
  close();
}

// Nothing more can happen in the run: with "OFF" the station closes, and
// its caller learns from the exit status that no result will come.
void TProgramZEKFrm::EndRunWithoutResult() {
  if (st_.AutoExit == 0) return;
  result_file_failed_ = true;
  close();
}

void TProgramZEKFrm::Timer2Timer() {
  if (!OpenPortsIdentified(st_)) return;
  // The project replaces the image and the chip: it waits for the units the
  // operator set working, and for a dialog that may change them to close.
  if (st_.CmdLineProject != 0 && (!BusyRefusal(st_).empty() || QApplication::activeModalWidget() != nullptr)) return;
  Timer2->stop();
  if (st_.CmdLineProject == 0) return;
  const std::string& path = st_.CmdLineProjectPath;
  struct stat info {};
  // Both are boxes, which a run nobody watches turns into lines and tells
  // its caller.
  if (::stat(path.c_str(), &info) != 0) {
    st_.Views.Boxes->Plain(Format("File of %s is not found!", {path}));
    return EndRunWithoutResult();
  }
  bool loaded = false;
  try {
    loaded = LoadProjectFile(path);
  } catch (const FileError& e) {
    st_.Views.Boxes->Plain(e.what());
    return EndRunWithoutResult();
  }
  if (!loaded) {
    AddInfoLine(Format("Project File of %s is corrupted!", {path}));
    return EndRunWithoutResult();
  }
  CollectControlSettings();
  // By slot, not by count: a unit that hung up leaves a gap among them.
  StartCommandLineDownload(st_);
}

}  // namespace zek
