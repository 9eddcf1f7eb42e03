#pragma once
// A demonstration project: a chip of `kb` KiB flash (the table's 96 KiB
// part BF7106AM28-TBBX by default, with its 2 KiB of EEPROM left erased)
// and a patterned image that uses every byte value, its sums stored as a
// loaded file stores them.

#include <cstdint>
#include <string>
#include <vector>

#include "station/data/station_state.h"

namespace zek::demo {

// Sets the chip, the image and its sums in `st`, as if a chip had been
// selected and an object file loaded.
void PrepareDemoProject(StationState& st, uint16_t kb);

// The image bytes PrepareDemoProject puts in MainBuffer.
std::vector<uint8_t> DemoImage(uint16_t kb);

// Prepares the state and writes the project file. Raises FileError.
void WriteDemoProject(const std::string& path, uint16_t kb);

}  // namespace zek::demo
