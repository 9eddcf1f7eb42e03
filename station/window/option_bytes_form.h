#pragma once
// The option bytes dialog of the BS32 chips.

#include <QDialog>
#include <array>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zek {

class TProgramZEKFrm;

class TBS32xOptBytFrm : public QDialog {
 public:
  TBS32xOptBytFrm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  void FormShow();
  void BitBtnOKClick();

  QLabel *LabelROP, *LabelIWDG, *LabelInfWRP;
  QComboBox *ComBoxROP, *ComBoxIWDG, *ComBoxInfWRP;
  std::array<QLabel*, 8> LabelWRP;    // "WRP0" .. "WRP7"
  std::array<QLineEdit*, 8> EditWRP;  // EditWRP0 .. EditWRP7
  QPushButton* BitBtnOK;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
