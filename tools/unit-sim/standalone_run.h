#pragma once
// One chip programmed by a unit on its own from its stored download, as
// the list of 0xFD reports it sends: 16 start, 32 blank check, 48 erase
// (only for a chip that is not blank or is protected), 64 main flash
// blocks with progress, 80 EEPROM (when the download brought EEPROM data),
// 112 main verify, 128 EEPROM verify, 160 option bytes (when the settings
// ask for them), and 240 with the outcome: 6 good, anything else the
// failure. Verify compares the chip's sums with those the station put in
// the settings, so an image and sums that disagree end NG with 52.

#include <cstdint>
#include <vector>

#include "tools/unit-sim/sim_chip.h"
#include "tools/unit-sim/stored_download.h"
#include "tools/unit-sim/unit_faults.h"

namespace zek::sim {

inline constexpr uint8_t kRunGood = 6;
inline constexpr uint8_t kRunStepDone = 240;

struct RunReport {
  uint8_t step = 0;
  uint8_t status = 0;
  uint16_t progress = 0;
  uint16_t maximum = 0;
};

// Programs `chip` from `download` (which must be complete). A Status fault
// naming a step of the run ends the run there with its status; a non-zero
// `ng_status` ends it at the main verify.
std::vector<RunReport> PlanStandaloneRun(SimChip& chip, const StoredDownload& download,
                                         const FaultTable& faults, uint8_t ng_status);

}  // namespace zek::sim
