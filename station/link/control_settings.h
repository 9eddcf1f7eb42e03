#pragma once
// The control bytes that travel in every command's settings block, taken
// from the chip-setup controls of the window, and the way back: which
// control states a loaded project implies. Pure rules over the state; the
// window reads and sets the widgets.

#include <cstdint>
#include <optional>
#include <string>

#include "station/data/station_state.h"

namespace zek {

// The chip-setup controls as the control bytes see them.
struct ControlStates {
  int SpeedIndex = 0;        // ComBoxSpdCLK: 0 fastest .. 7 slowest
  int VoltageIndex = 0;      // RadioGpVolt: 0 3.3V, 1 5.0V
  bool EraseEep = false;     // ChkBoxErsEE
  bool EraseInfo = false;    // ChkBoxErsInf
  bool WriteEep = false;     // ChkBoxPrgEE
  bool WriteInfo = false;    // ChkBoxPrgInf; "write option data" on BS32 chips
  bool FlashBoot = false;    // ChkBoxBOOT
  int ProgramModeIndex = 0;  // RadioGroupCS: 0 whole chip, 1 blocks
};

// Classes 0x10 to 0x3F: their info-block boxes stand for option data.
constexpr bool IsBS32Class(uint8_t class_code) { return class_code >= 0x10 && class_code < 0x40; }

struct ControlSettingsOutcome {
  // Edited EEPROM bytes were merged into MainBuffer: the caller recomputes
  // the main sums over ChipStartAddress..ChipEndAddress before logging.
  bool MainSumsStale = false;
  // The control-setting line, logged without time stamp.
  std::string Line;
};

// Rewrites SclkSetting, the control bits owned by the chip-setup controls
// and EepStepsEnabled; every other bit keeps its value. Clears EepEdited,
// merging EepBuffer[0..1023] into the first 1 KiB of the chip's last 4 KiB
// page of MainBuffer first on classes up to 0x40 when the grid was edited.
// A page that would reach past MainBuffer is not written.
ControlSettingsOutcome ApplyControlSettings(StationState& st, const ControlStates& controls);

// Whether ApplyControlSettings with these controls would change a byte
// that running chains read (a control bit, the speed, EepStepsEnabled, or
// the main image through the EEPROM merge).
bool ControlSettingsWouldChange(const StationState& st, const ControlStates& controls);

// "> Control Setting(Hex): " with the chip descriptor and control bytes.
std::string ControlSettingLine(const StationState& st);

// The speed item a loaded project shows: SclkSetting / 5 - 5 from class
// 0x40 up; below it 0, 1, 3, 7, 15, 31, 63 select items 0-6 and any other
// value item 7. Kept within the list's items 0-7, so a stored value below
// 25 never leaves the list without a selection.
int ClockItemForSetting(uint8_t class_code, uint8_t sclk_setting);

// The control states a project read into the state implies. Boxes that
// the project leaves alone are nullopt.
struct ProjectControls {
  int SpeedItem = 0;
  int VoltageItem = 0;
  std::optional<bool> EraseEep, EraseInfo, WriteEep;
  bool WriteInfo = false;
  bool FlashBoot = false;
};

// BS32 chips keep their option-data choice in CtrlFlags4 bit 5; every other
// class keeps the four EEPROM and info-block choices in CtrlFlags2 bits
// 4-7, read back the way ApplyControlSettings wrote them.
ProjectControls ControlsFromProject(const StationState& st);

}  // namespace zek
