#pragma once
// Filling an image: rows 0 .. last_row of 16 bytes each, that is
// (last_row + 1) x 16 bytes from the start of buf.

#include <cstdint>

namespace rhb {

inline constexpr uint64_t kRowBytes = 16;

void FillRows(uint8_t* buf, uint32_t last_row, uint8_t fill);

}  // namespace rhb
