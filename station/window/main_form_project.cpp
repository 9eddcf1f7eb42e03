// Project files from the window.

#include "station/window/main_form.h"

namespace zek {

bool TProgramZEKFrm::LoadProjectFile(const std::string&) { return false; }
void TProgramZEKFrm::SaveasProjectFile1Click() {}
void TProgramZEKFrm::LoadformProjectFile1Click() {}

}  // namespace zek
