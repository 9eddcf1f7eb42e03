#pragma once
// How the address ranges of two object files loaded one after the other
// meet. Ranges are inclusive; the tests run in a fixed order and the first
// that holds decides.

#include <cstdint>

namespace zek {

enum class FileOverlap { None, File1HoldsFile2, File2HoldsFile1, Cross };

FileOverlap ClassifyFileOverlap(uint32_t file1_start, uint32_t file1_end, uint32_t file2_start, uint32_t file2_end);

}  // namespace zek
