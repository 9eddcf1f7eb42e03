// Control bytes from the chip-setup controls.

#include <QCheckBox>
#include <QComboBox>

#include "station/data/info_lines.h"
#include "station/link/control_settings.h"
#include "station/window/main_form.h"
#include "station/window/radio_group.h"

namespace zek {

ControlStates TProgramZEKFrm::ReadControlStates() const {
  ControlStates controls;
  controls.SpeedIndex = ComBoxSpdCLK->currentIndex();
  controls.VoltageIndex = RadioGpVolt->ItemIndex();
  controls.EraseEep = ChkBoxErsEE->isChecked();
  controls.EraseInfo = ChkBoxErsInf->isChecked();
  controls.WriteEep = ChkBoxPrgEE->isChecked();
  controls.WriteInfo = ChkBoxPrgInf->isChecked();
  controls.FlashBoot = ChkBoxBOOT->isChecked();
  controls.ProgramModeIndex = RadioGroupCS->ItemIndex();
  return controls;
}

void TProgramZEKFrm::CollectControlSettings() {
  const ControlSettingsOutcome outcome = ApplyControlSettings(st_, ReadControlStates());
  if (outcome.MainSumsStale) UpdateMainChecksums(st_.ChipStartAddress, st_.ChipEndAddress);
  AddPlainLine(st_, outcome.Line);
}

}  // namespace zek
