#pragma once
// Intel HEX object files read into MainBuffer and EepBuffer by the chip
// memory map.

#include <cstdint>
#include <string>
#include <string_view>

#include "station/data/station_state.h"

namespace zek {

// Parses one record. Data records go to the image by their start address
// (linear base + segment base + address field); a record that starts in
// the flash range is stored whole, but never past an image. Returns the
// code of object_file_records.h. A line too short for its record stores
// nothing, leaves every in/out value alone and gives the checksum code 4.
uint8_t ParseHexLine(StationState& st, std::string_view line, uint32_t& linear_base, uint32_t& segment_base,
                     uint32_t& sum, uint32_t& highest, uint32_t& lowest);

// Reads a whole file; empty lines are skipped. A bad line shows
// "Line %d : %s, Error=%d." with OK (go on) and Abort (stop). `lowest` and
// `highest` receive the data range seen, `sum` gains every stored byte.
// Raises FileError when the file cannot be opened or read.
void ReadHexFile(StationState& st, const std::string& path, uint32_t& lowest, uint32_t& highest, uint32_t& sum);

}  // namespace zek
