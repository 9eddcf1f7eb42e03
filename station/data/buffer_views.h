#pragma once
// What the hex grids of the window show of an image: how many 16-byte rows
// a range takes, and whether a stretch of an image holds anything but the
// erased value. Rows never reach past the buffer they show.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zek {

inline constexpr uint32_t kGridRowBytes = 16;

// Rows of a main-memory grid over the inclusive range [start, end]:
// ceil((end - start + 1) / 16), cut at the buffer's end. An empty range
// (end below start, as a flash size of 0 gives) has no rows.
uint32_t MainGridRows(uint32_t start, uint32_t end, size_t buffer_size);

// Rows of an EEP grid, which shows the EEP area and the info area behind
// it from index 0: (eep + info) / 16 rounded down, cut at the buffer's end.
uint32_t EepGridRows(uint32_t eep_size, uint32_t info_size, size_t buffer_size);

// Whether buffer[first .. first + count - 1] holds a byte other than 0xFF;
// the part past the buffer counts as erased.
bool HoldsNonErased(std::span<const uint8_t> buffer, uint64_t first, uint64_t count);

}  // namespace zek
