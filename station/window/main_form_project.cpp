// Project files from the window.

#include <QCheckBox>
#include <QComboBox>

#include "station/data/chip_memory_map.h"
#include "station/data/project_file.h"
#include "station/link/control_settings.h"
#include "station/link/project_file_save.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/main_form.h"
#include "station/window/radio_group.h"

namespace zek {
namespace {

constexpr uint8_t kStationModelCode = 80;

void SetChecked(QCheckBox* box, const std::optional<bool>& checked) {
  if (checked.has_value()) box->setChecked(*checked);
}

}  // namespace

bool TProgramZEKFrm::LoadProjectFile(const std::string& path) {
  if (ReadProjectFile(st_, path) != kProjectOk) return false;
  UnpackChipConfig(st_);
  // The map follows from the chip as after the chip dialog, whatever the
  // station held before; the option bytes are the project's.
  SetMemoryRanges(st_);
  // The chip-dependent set-up, the same chip's included, runs before the
  // project's own control states are applied over it.
  ShowChipName();
  st_.ChipSelected = 1;
  st_.Views.StatusBar->SetPanelText(2, st_.ObjectFileName);
  // The views and sums as after a file load; the EEP boxes they tick are
  // then the project's.
  ShowLoadedImages();
  if (dialogs_.KelpraCfgForm != nullptr) dialogs_.KelpraCfgForm->ShowSettingsSummary();
  const ProjectControls controls = ControlsFromProject(st_);
  RadioGroupCS->SetItemIndex(0);
  RadioGpVolt->SetItemIndex(controls.VoltageItem);
  ComBoxSpdCLK->setCurrentIndex(controls.SpeedItem);
  SetChecked(ChkBoxErsEE, controls.EraseEep);
  SetChecked(ChkBoxErsInf, controls.EraseInfo);
  SetChecked(ChkBoxPrgEE, controls.WriteEep);
  ChkBoxPrgInf->setChecked(controls.WriteInfo);
  ChkBoxBOOT->setChecked(controls.FlashBoot);
  return true;
}

void TProgramZEKFrm::SaveasProjectFile1Click() {
  if (!ChipGuard() || !FileGuard() || !ControlsGuard()) return;
  const auto answer =
      Files().Save({"Save to Dorvik410xx Project File", "Dorvikxx Project File(*.RQT)|*.RQT", "RQT", ""});
  if (!answer) return;
  CollectControlSettings();
  WriteProjectFile(st_, answer->Path, kStationModelCode);
}

void TProgramZEKFrm::LoadformProjectFile1Click() {
  if (!IdleGuard()) return;
  const auto answer =
      Files().Open({"Open Dorvik410xx Project File", "Dorvikxx Project Files(*.RQT)|*.RQT", "*.RQT", ""});
  if (answer) LoadProjectFile(answer->Path);
}

}  // namespace zek
