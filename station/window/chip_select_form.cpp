#include "station/window/chip_select_form.h"

#include "station/window/main_form.h"

namespace zek {

TChipSelectForm::TChipSelectForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("ChipSelectForm");
}

}  // namespace zek
