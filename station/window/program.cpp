#include "station/window/program.h"

#include <QApplication>

#include "station/window/error_handler.h"
#include "station/window/stop_requests.h"

namespace zek {

StationProgram::StationProgram(const EditionTexts& texts, MainFormOptions options)
    : st_(std::make_unique<StationState>()) {
  main_ = std::make_unique<TProgramZEKFrm>(*st_, texts, std::move(options));
  main_->setWindowTitle(kApplicationTitle);
  // Dialogs are children of the main window, which deletes them.
  dialogs_.AboutForm = new TAboutForm(*main_, *st_, texts);
  dialogs_.LogCfgForm = new TLogCfgForm(*main_, *st_, texts);
  dialogs_.ConfigSNForm = new TConfigSNForm(*main_, *st_, texts);
  dialogs_.KelpraCfgForm = new TKelpraCfgForm(*main_, *st_, texts);
  dialogs_.ChipSelectForm = new TChipSelectForm(*main_, *st_, texts);
  dialogs_.BS32xOptBytFrm = new TBS32xOptBytFrm(*main_, *st_, texts);
  main_->SetDialogs(dialogs_);
}

StationProgram::~StationProgram() = default;

void SetApplicationTitle() {
  // No display name: the window system would append it to every dialog's
  // caption. Message boxes take the application name instead.
  QApplication::setApplicationName(kApplicationTitle);
}

int ProgramMain(int argc, char** argv, const EditionTexts& texts) {
  StationApplication app(argc, argv);
  // However the process ends, the close-time log is written: a stop
  // signal closes the window as "Eixt" does, and the toolkit's exit() on a
  // lost display still finds the log to write. Signals are caught from
  // here on; they are acted on once the window runs its event loop.
  TProgramZEKFrm* window = nullptr;
  StopSignals stops([&](int) {
    window->StopFromOutside();
    QCoreApplication::exit(0);
  });
  SetApplicationTitle();
  MainFormOptions options;
  options.ProgramPath = argc > 0 ? argv[0] : "";
  for (int i = 1; i < argc; ++i) options.Arguments.emplace_back(argv[i]);
  StationProgram program(texts, std::move(options));
  window = &program.Main();
  LastWordsAtExit last_words([&] {
    if (!window->Closed()) window->FormClose();
  });
  window->show();
  // A stop while start-up waited on a box ended the window before the loop.
  const int status = stops.Received() == 0 ? app.exec() : 0;
  if (stops.Received() != 0) return 128 + stops.Received();
  return window->ResultFileFailed() ? 1 : status;
}

}  // namespace zek
