#include "station/window/about_form.h"

#include "station/window/main_form.h"

namespace zek {

TAboutForm::TAboutForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("AboutForm");
}

}  // namespace zek
