#pragma once
// The running state that a loader keeps across the lines of one file.

#include <cstdint>

#include "filelib/result_codes.h"

namespace rhb {

// Lowest and highest data address seen so far (absolute addresses).
struct AddressSpan {
  uint32_t lowest = 0xFFFFFFFF;
  uint32_t highest = 0;
  // Takes in count (> 0) bytes from address; a run past the top ends there.
  void Widen(uint32_t address, uint32_t count) {
    uint64_t last = uint64_t{address} + count - 1;
    if (address < lowest) lowest = address;
    if (last > highest) highest = last > kTopAddress ? kTopAddress : static_cast<uint32_t>(last);
  }
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
