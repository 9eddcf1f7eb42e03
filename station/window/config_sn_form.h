#pragma once
// The data patch dialog: writes typed bytes into the main or EEP image.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

namespace zek {

class TProgramZEKFrm;

class TConfigSNForm : public QDialog {
 public:
  TConfigSNForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
