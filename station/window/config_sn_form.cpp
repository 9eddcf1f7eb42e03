#include "station/window/config_sn_form.h"

#include "station/window/main_form.h"

namespace zek {

TConfigSNForm::TConfigSNForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("ConfigSNForm");
}

}  // namespace zek
