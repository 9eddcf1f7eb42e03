#pragma once
// The data a unit returns for the chip ID, information and option reads,
// laid out at the offsets the station prints them from:
//   class 0x00        UID at 0-11, information rows at 0x400-0x47F,
//                     RMASK 0x800-0x80F, WMASK 0x820-0x82F, IMASK 0x840,
//                     security level 0x841 (1 while protected)
//   class 0x01-0x3F   flash registers at 0-31, information block 32-543
//   class 0x40 and up the first InfoSize bytes of the information area
// Every data reply holds at least 16 bytes, so its status is never read
// from the data itself.

#include <cstdint>
#include <vector>

#include "tools/unit-sim/settings_block.h"
#include "tools/unit-sim/sim_chip.h"

namespace zek::sim {

std::vector<uint8_t> ChipIdData(const SimChip& chip);
std::vector<uint8_t> InfoReadData(const SimChip& chip, const UnitSettings& s);
// The 32 option bytes of the option range (option area offsets 480-511).
std::vector<uint8_t> OptionReadData(const SimChip& chip);

}  // namespace zek::sim
