#include "station/window/program.h"

#include <QApplication>

#include "station/window/error_handler.h"

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
  SetApplicationTitle();
  MainFormOptions options;
  options.ProgramPath = argc > 0 ? argv[0] : "";
  for (int i = 1; i < argc; ++i) options.Arguments.emplace_back(argv[i]);
  StationProgram program(texts, std::move(options));
  program.Main().show();
  const int status = app.exec();
  return program.Main().ResultFileFailed() ? 1 : status;
}

}  // namespace zek
