// Chip selection and the chip-dependent set-up of the window.

#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::DevButtonClick() {}
void TProgramZEKFrm::MCUNameEditChange() {}
void TProgramZEKFrm::ButtonCFGClick() {}

}  // namespace zek
