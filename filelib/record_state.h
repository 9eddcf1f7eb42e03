#pragma once
// The running state that a loader keeps across the lines of one file.

#include <cstdint>

namespace rhb {

// Lowest and highest data address seen so far (absolute addresses).
struct AddressSpan {
  uint32_t lowest = 0xFFFFFFFF;
  uint32_t highest = 0;
};

struct HexRecordState {
  uint32_t linear = 0;   // from type 04 records
  uint32_t segment = 0;  // from type 02 records
  AddressSpan span;
  uint32_t sum = 0;  // bytes stored by the offset parser
};

struct SRecordState {
  uint32_t address = 0;  // of the last data record
  AddressSpan span;
  uint32_t sum = 0;  // bytes stored
};

}  // namespace rhb
