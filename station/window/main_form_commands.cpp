// Operation commands.

#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::SpdBtnDownLoadClick() {}
void TProgramZEKFrm::AutoSpdBtnClick() {}
void TProgramZEKFrm::SpdBtnBlankClick() {}
void TProgramZEKFrm::SpdBtnEraseClick() {}
void TProgramZEKFrm::SpdBtnProgClick() {}
void TProgramZEKFrm::SpdBtnVerifyClick() {}
void TProgramZEKFrm::VerifyChipEEPData1Click() {}
void TProgramZEKFrm::ProtectChip1Click() {}
void TProgramZEKFrm::WriteChipOption1Click() {}
void TProgramZEKFrm::WriteChipEepData1Click() {}
void TProgramZEKFrm::ReadChipIDInfo1Click() {}
void TProgramZEKFrm::ReadChipInfoMemory1Click() {}
void TProgramZEKFrm::ReadChipOption1Click() {}
void TProgramZEKFrm::SpeedButtonRDClick() {}
void TProgramZEKFrm::ReadChipEepData1Click() {}
void TProgramZEKFrm::ResetProg1Click() {}
void TProgramZEKFrm::FormKeyPress(char) {}
void TProgramZEKFrm::StartDownload(int) {}

}  // namespace zek
