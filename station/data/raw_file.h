#pragma once
// Raw data files read into an image from index 0, whatever their form.

#include <cstdint>
#include <span>
#include <string>

namespace zek {

struct RawFileRead {
  uint32_t Stored = 0;  // bytes placed at dest[0 ..]
  bool Longer = false;  // the file holds more than dest could take
};

// Reads the file's first bytes into `dest`, never past it; bytes of dest
// past a short file keep their values. Raises FileError when the file
// cannot be opened or read (a folder included).
RawFileRead ReadRawFile(const std::string& path, std::span<uint8_t> dest);

}  // namespace zek
