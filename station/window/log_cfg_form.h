#pragma once
// The log settings dialog: whether and where the close-time log file is written.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

namespace zek {

class TProgramZEKFrm;

class TLogCfgForm : public QDialog {
 public:
  TLogCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  // What the close handler reads.
  bool LogEnabled() const;
  bool LogNameAuto() const;
  int LogMode() const;  // 0 new file, 1 overwrite, 2 append
  std::string GetLogFileName() const;

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
