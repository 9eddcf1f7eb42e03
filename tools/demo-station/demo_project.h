#pragma once
// A demonstration project: a chip of `kb` KiB flash (the table's 96 KiB
// part BF7106AM28-TBBX by default, with its 2 KiB of EEPROM left erased)
// and a patterned image that uses every byte value, its sums stored as a
// loaded file stores them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "station/data/station_state.h"

namespace zek::demo {

// Sets the chip, the image and its sums in `st`, as if a chip had been
// selected and an object file loaded.
void PrepareDemoProject(StationState& st, uint16_t kb);

// The same for a part of the chip table, chosen as the chip dialog
// chooses it, with the demo image over its whole flash.
void PrepareDemoProject(StationState& st, std::string_view chip);

// The image bytes PrepareDemoProject puts in MainBuffer.
std::vector<uint8_t> DemoImage(uint16_t kb);

// Prepares the state and writes the project file. Raises FileError.
void WriteDemoProject(const std::string& path, uint16_t kb);
void WriteDemoProject(const std::string& path, std::string_view chip);

}  // namespace zek::demo
