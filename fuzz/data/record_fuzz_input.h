#pragma once
// Turns fuzz input into a chip memory map and a list of lines. Each line is
// copied into a heap block of exactly its length, so a parser that reads
// past the line's end trips AddressSanitizer.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "station/data/station_state.h"

namespace zek::fuzzing {

struct OwnedLine {
  std::unique_ptr<char[]> text;
  size_t size;
  std::string_view view() const { return {text.get(), size}; }
};

// The first six bytes pick class, flash size, EEPROM size and whether the
// EEPROM range is widened past EepBuffer (as a project file can); every
// size up to 64 MiB of flash is possible, so ranges far wider than the
// images are exercised.
inline void ChooseMap(StationState& st, const uint8_t*& data, size_t& size) {
  uint8_t head[6] = {};
  size_t n = size < sizeof head ? size : sizeof head;
  std::memcpy(head, data, n);
  data += n;
  size -= n;
  st.ChipClassCode = head[0];
  st.ChipFlashSizeKB = static_cast<uint16_t>(head[1] | head[2] << 8);
  st.EepSize = static_cast<uint16_t>(head[3] | head[4] << 8);
  SetMemoryMap(st);
  if (head[5] & 1) st.EepEndAddress = st.EepStartAddress + 0x3FFFF;
  if (head[5] & 2) st.ChipStartAddress = 0x100;
}

inline std::vector<OwnedLine> SplitLines(const uint8_t* data, size_t size) {
  std::vector<OwnedLine> lines;
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == '\n') {
      size_t len = i - start;
      OwnedLine line{std::unique_ptr<char[]>(new char[len ? len : 1]), len};
      if (len) std::memcpy(line.text.get(), data + start, len);
      lines.push_back(std::move(line));
      start = i + 1;
    }
  }
  return lines;
}

// One station for the whole run: a fresh 2 MiB image per input would only
// slow the search, and stores out of bounds show whatever the content.
inline StationState& Station() {
  static StationState st;
  return st;
}

}  // namespace zek::fuzzing
