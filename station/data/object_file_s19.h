#pragma once
// Motorola S-record object files read into MainBuffer and EepBuffer by the
// chip memory map.

#include <cstdint>
#include <string>
#include <string_view>

#include "station/data/station_state.h"

namespace zek {

// Parses one record. S1/S2/S3 data go to the image by their start address
// (flash first, then EEPROM, never past an image); S0, S5, S7-S9 are
// accepted unread. Returns the code of object_file_records.h. A record
// without data bytes stores nothing, leaves the range alone and is judged
// by its checksum. A line too short for its record, or a count too small
// for its address, stores nothing and gives the checksum code 4.
uint8_t ParseS19Line(StationState& st, std::string_view line, uint32_t& record_address, uint32_t& lowest,
                     uint32_t& sum, uint32_t& highest);

// Reads a whole file; empty lines go to the parser like any other. A bad
// line shows "Line %d : %s,  Error=%d." with OK (go on) and Abort (stop).
// Out values and sum as for ReadHexFile. Raises FileError when the file
// cannot be opened or read.
void ReadS19File(StationState& st, const std::string& path, uint32_t& lowest, uint32_t& highest, uint32_t& sum);

}  // namespace zek
