#pragma once
// The programmer settings dialog: production options sent to the units.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

namespace zek {

class TProgramZEKFrm;

class TKelpraCfgForm : public QDialog {
 public:
  TKelpraCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
