// ParseHexLine over many lines of one file, with any chip memory map.

#include "fuzz/data/record_fuzz_input.h"
#include "station/data/object_file_hex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zek::StationState& st = zek::fuzzing::Station();
  zek::fuzzing::ChooseMap(st, data, size);
  uint32_t linear = 0, segment = 0, sum = 0, highest = 0, lowest = 0xFFFFFFFF;
  for (const auto& line : zek::fuzzing::SplitLines(data, size)) {
    uint8_t code = zek::ParseHexLine(st, line.view(), linear, segment, sum, highest, lowest);
    if (code > 8) __builtin_trap();
  }
  return 0;
}
