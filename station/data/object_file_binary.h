#pragma once
// Binary image files: read into a buffer from index 0, and image ranges
// written back byte for byte.

#include <cstdint>
#include <span>
#include <string>

#include "station/data/station_state.h"

namespace zek {

// Reads the file into `buffer`. `limit` goes in as a byte count (0: the
// buffer's size) and comes back as the number of bytes stored. No byte is
// stored at or past the limit or the buffer's end; a longer file shows
// "地址超出范围！" and is cut there. A file that cannot be opened or read
// gives 0 and no message.
void ReadBinaryFile(StationState& st, const std::string& path, std::span<uint8_t> buffer, uint32_t& limit);

// As ReadBinaryFile, but `end_address` goes in as the last index that may be
// stored (0: the buffer's size bounds the read) and comes back as the
// number of bytes stored; every stored byte is added to `sum`.
void ReadBinaryFileSum(StationState& st, const std::string& path, std::span<uint8_t> buffer, uint32_t& end_address,
                       uint32_t& sum);

// Creates or truncates the file and writes buffer[start .. end] in address
// order; an empty file when end < start. Indices past the buffer are not
// written. Raises FileError when the file cannot be created or written.
void WriteBinaryFile(const std::string& path, std::span<const uint8_t> buffer, uint32_t start, uint32_t end);

}  // namespace zek
