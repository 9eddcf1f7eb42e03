#pragma once
// The data patch dialog: writes typed bytes into the main or EEP image.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zek {

class TProgramZEKFrm;
class RadioGroup;

class TConfigSNForm : public QDialog {
 public:
  TConfigSNForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  void FormShow();
  void BitBtnOKClick();
  // Each writes the data at the typed address and redraws the image's
  // view; false when the patch was refused (nothing written).
  bool PatchAsciiData();
  bool PatchHexData();

  QLabel* LabelAdrSN;
  QLineEdit* AddrEditSN;
  RadioGroup* RadioGrpDT;
  QLabel* LabelDAT;
  QLineEdit* EditDataSN;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool Patch(const std::string& bytes);

  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
