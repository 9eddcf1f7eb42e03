#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zek {

// Writes buffer[0 .. end] as text rows "0x%0.6x:" + 16 x " %0.2x", the last
// row complete (as far as the buffer reaches), at most 65536 rows. Raises
// FileError when the file cannot be created or written.
void WriteHexDump(const std::string& path, std::span<const uint8_t> buffer, uint32_t end);

}  // namespace zek
