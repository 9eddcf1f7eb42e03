// Object images: loading, sums and the four hex grids.

#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::SetUpHexGrids() {}
void TProgramZEKFrm::FileOpenBtnClick() {}
void TProgramZEKFrm::SpdBtnOpenMorClick() {}
bool TProgramZEKFrm::LoadObjectFile(const std::string&, uint32_t&, uint32_t&) { return false; }
void TProgramZEKFrm::ShowMainBuffer() {}
void TProgramZEKFrm::UpdateMainChecksums(uint32_t, uint32_t) {}
void TProgramZEKFrm::FillHexViewer(uint32_t, uint32_t) {}
void TProgramZEKFrm::ShowEepBuffer() {}
void TProgramZEKFrm::ShowReadMainData() {}
void TProgramZEKFrm::ShowReadEepData() {}

}  // namespace zek
