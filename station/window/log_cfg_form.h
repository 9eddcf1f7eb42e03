#pragma once
// The log settings dialog: whether and where the close-time log file is
// written. It stores nothing of its own; the close handler reads its
// controls.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"
#include "station/window/window_services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace zek {

class TProgramZEKFrm;
class RadioGroup;

class TLogCfgForm : public QDialog {
 public:
  TLogCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  // What the close handler reads.
  bool LogEnabled() const;
  bool LogNameAuto() const;
  int LogMode() const;  // 0 new file, 1 overwrite, 2 append
  std::string GetLogFileName() const;

  // Handlers.
  void FormShow();
  void CheckBoxLogClick();
  void RadioGrpCreatClick();
  void SpeedButtonOPClick();
  void OKClick();

  // Controls, named as the station names them.
  QCheckBox* CheckBoxLog;
  RadioGroup* RadioGrpCreat;
  RadioGroup* RadioGrpMod;
  QLabel* LabelLogD;
  QLineEdit* EditLogName;
  QToolButton* SpeedButtonOP;
  QPushButton* OK;
  // The browse dialog's settings; it remembers the last file picked.
  FileDialogSpec OpenDialogLog;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QStringList CreateItems() const;
  QStringList ModeItems() const;

  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
