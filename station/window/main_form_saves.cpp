// Saving buffers and EEP data files.

#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::FileSaveBtnClick() {}
void TProgramZEKFrm::SaveReadOutData1Click() {}
void TProgramZEKFrm::LoadEepData1Click() {}
void TProgramZEKFrm::SaveEepData1Click() {}
void TProgramZEKFrm::SaveReadOutEEP1Click() {}

}  // namespace zek
