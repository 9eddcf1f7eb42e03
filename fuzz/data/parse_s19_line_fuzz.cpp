// ParseS19Line over many lines of one file, with any chip memory map.

#include "fuzz/data/record_fuzz_input.h"
#include "station/data/object_file_s19.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zek::StationState& st = zek::fuzzing::Station();
  zek::fuzzing::ChooseMap(st, data, size);
  uint32_t record_address = 0, lowest = 0xFFFFFFFF, sum = 0, highest = 0;
  for (const auto& line : zek::fuzzing::SplitLines(data, size)) {
    uint8_t code = zek::ParseS19Line(st, line.view(), record_address, lowest, sum, highest);
    if (code > 8) __builtin_trap();
  }
  return 0;
}
