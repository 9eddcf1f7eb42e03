#include "station/window/log_cfg_form.h"

#include "station/window/main_form.h"

namespace zek {

TLogCfgForm::TLogCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("LogCfgForm");
}

bool TLogCfgForm::LogEnabled() const { return false; }
bool TLogCfgForm::LogNameAuto() const { return true; }
int TLogCfgForm::LogMode() const { return 0; }
std::string TLogCfgForm::GetLogFileName() const { return {}; }

}  // namespace zek
