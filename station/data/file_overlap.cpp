#include "station/data/file_overlap.h"

namespace zek {

FileOverlap ClassifyFileOverlap(uint32_t file1_start, uint32_t file1_end, uint32_t file2_start, uint32_t file2_end) {
  if (file2_start >= file1_start && file2_end <= file1_end) return FileOverlap::File1HoldsFile2;
  if (file1_start >= file2_start && file1_end <= file2_end) return FileOverlap::File2HoldsFile1;
  if (file1_start < file2_start && file2_start < file1_end) return FileOverlap::Cross;
  if (file2_start < file1_start && file1_start < file2_end) return FileOverlap::Cross;
  return FileOverlap::None;
}

}  // namespace zek
