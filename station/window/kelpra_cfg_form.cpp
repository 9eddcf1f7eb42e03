#include "station/window/kelpra_cfg_form.h"

#include "station/window/main_form.h"

namespace zek {

TKelpraCfgForm::TKelpraCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("KelpraCfgForm");
}

}  // namespace zek
