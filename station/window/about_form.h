#pragma once
// The About box: product, version and release date of the edition.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

namespace zek {

class TProgramZEKFrm;

class TAboutForm : public QDialog {
 public:
  TAboutForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
