#include "station/window/option_bytes_form.h"

#include "station/window/main_form.h"

namespace zek {

TBS32xOptBytFrm::TBS32xOptBytFrm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("BS32xOptBytFrm");
}

}  // namespace zek
