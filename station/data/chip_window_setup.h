#pragma once
// How the main window adapts to a chip class: where the erase, verify and
// automatic-sequence buttons sit, which serial clock is preselected, which
// operation groups the operator sees, and the memory-size report line.

#include <cstdint>
#include <string>

namespace zek {

// Which group of the set-up a class falls in, tested in this order.
enum class ChipSetupKind {
  NvrParts,     // 0x90: EEP boxes follow the EEP size
  OptionMenus,  // 0x40 and above: option menu items
  InfoBlock,    // below 0x10: info-block boxes, no read/erase/program buttons
  OptionBytes,  // 0x10 to 0x3F: info boxes become option-data boxes
};

struct ChipSetupRow {
  ChipSetupKind Kind;
  int EraseLeft, VerifyLeft, AutoLeft;  // pixels
  int SpeedIndex;                       // item of the serial-clock list
  bool ChipButtonsShown;                // read, erase and program buttons
};

ChipSetupRow ChipSetupFor(uint8_t class_code);

// The information line reporting the chip's memory sizes.
std::string ChipSizeLine(uint8_t class_code, uint16_t flash_kb, uint16_t eep_size);

// The classes whose option bytes are printed after the set-up.
constexpr bool ShowsOptionDump(uint8_t class_code) { return class_code == 0x10 || class_code == 0x12; }

}  // namespace zek
