#pragma once
// Where a loader puts what it reads: the caller's image and out values.

#include <cstdint>

namespace rhb {

struct LoadTarget {
  uint8_t* buf = nullptr;
  uint32_t base = 0;         // offset loaders: image index = address - base
  uint32_t* start = nullptr;
  uint32_t* end = nullptr;
  uint32_t* sum = nullptr;   // sum variants only
};

}  // namespace rhb
