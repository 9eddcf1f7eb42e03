// Chip selection and the chip-dependent set-up of the window.

#include <QCheckBox>

#include "station/data/chip_memory_map.h"
#include "station/data/option_block.h"
#include "station/window/dialogs.h"
#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::DevButtonClick() {}
void TProgramZEKFrm::MCUNameEditChange() {}

void TProgramZEKFrm::ButtonCFGClick() {
  // Closing the dialog by its close box still re-decides the write.
  if (dialogs_.BS32xOptBytFrm != nullptr) runner_->Run(*dialogs_.BS32xOptBytFrm);
  ChkBoxPrgInf->setChecked(false);
  if (OptionBlockNeedsWrite(st_)) ChkBoxPrgInf->setChecked(true);
  ShowOptionDump(st_);
}

}  // namespace zek
