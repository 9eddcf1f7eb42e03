#pragma once
// The chip selection dialog over the chip table.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

namespace zek {

class TProgramZEKFrm;

class TChipSelectForm : public QDialog {
 public:
  TChipSelectForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
