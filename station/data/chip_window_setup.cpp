#include "station/data/chip_window_setup.h"

#include "station/data/format.h"

namespace zek {

ChipSetupRow ChipSetupFor(uint8_t class_code) {
  // Rows tested from the top:  kind, erase / verify / auto left, speed, read-erase-program shown.
  if (class_code == 0x90) return {ChipSetupKind::NvrParts, 717, 888, 502, 3, true};
  if (class_code >= 0x40) return {ChipSetupKind::OptionMenus, 717, 888, 502, 3, true};
  if (class_code < 0x10) return {ChipSetupKind::InfoBlock, 632, 888, 502, 0, false};
  return {ChipSetupKind::OptionBytes, 717, 888, 502, 0, true};
}

std::string ChipSizeLine(uint8_t class_code, uint16_t flash_kb, uint16_t eep_size) {
  // The bracketed split is the one layout of the 0x90 parts the station knows.
  if (class_code == 0x90) return Format("Chip Memory Size=%dKB(30.5KB Flash,0.5K NVR,1KB EEP)", {flash_kb});
  if (eep_size == 0) return Format("Flash Size=%dKB, No EEP Data.", {flash_kb});
  return Format("Flash Size=%dKB, EEP Byte=%dB ", {flash_kb, eep_size});
}

}  // namespace zek
