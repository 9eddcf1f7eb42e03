// Control bytes from the chip-setup controls.

#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::CollectControlSettings() {}

}  // namespace zek
