#pragma once
// The option bytes dialog of the BS32 chips.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

namespace zek {

class TProgramZEKFrm;

class TBS32xOptBytFrm : public QDialog {
 public:
  TBS32xOptBytFrm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

}  // namespace zek
