#include "tools/demo-station/demo_project.h"

#include <memory>

#include "station/data/byte_sums.h"
#include "station/data/chip_memory_map.h"
#include "station/data/chip_table.h"
#include "station/data/programmer_models.h"
#include "station/link/project_file_save.h"

namespace zek::demo {

std::vector<uint8_t> DemoImage(uint16_t kb) {
  std::vector<uint8_t> image(size_t{kb} * 1024);
  // Every byte value, the frame bytes 0xC0 and 0xDB included, and no
  // stretch of 0xFF the units could skip.
  uint32_t x = 0x2F6E2B1u;
  for (size_t i = 0; i < image.size(); ++i) {
    x = x * 1103515245u + 12345u;
    image[i] = static_cast<uint8_t>((x >> 16) ^ i);
  }
  return image;
}

namespace {

// The demo image over the chip's whole flash, with the sums a loaded file
// leaves.
void StoreDemoImage(StationState& st) {
  const std::vector<uint8_t> image = DemoImage(st.FlashSizeKB);
  const uint32_t bytes = static_cast<uint32_t>(image.size());
  for (uint32_t i = 0; i < bytes; ++i) st.MainBuffer[i] = image[i];
  if (st.EepSize > 0) {
    st.EepAcc16 = static_cast<uint16_t>(SumBytes(st.EepBuffer.span(), 0, st.EepSize - 1));
    st.EepCrc16 = Check16(st.EepBuffer.span(), 0, st.EepSize - 1);
  }
  st.File1Start = 0;
  st.File1End = bytes - 1;
  st.ObjectFileName = "demo.hex";
  st.MainAcc16 = static_cast<uint16_t>(SumBytes(st.MainBuffer.span(), 0, bytes - 1));
  st.MainCrc16 = Check16(st.MainBuffer.span(), 0, bytes - 1);
  st.MainAcc32 = static_cast<int32_t>(SumBytes(st.MainBuffer.span(), 0, bytes - 1));
  st.FileAcc32 = st.MainAcc32;
  st.ChipSelected = 1;
  st.FileLoaded = 1;
}

}  // namespace

void PrepareDemoProject(StationState& st, uint16_t kb) {
  ResetBuffers(st);
  // A part of the chip table with 96 KiB of flash; other sizes keep its
  // class and memory map with their own flash size.
  st.ChipName = kb == 96 ? "BF7106AM28-TBBX" : "BF7106-" + std::to_string(kb) + "K";
  st.ChipClassCode = 0x00;
  st.ChipIndex = 0;
  st.FlashSizeKB = kb;
  st.ChipFlashSizeKB = kb;
  st.PageSize = 256;
  st.EepSize = 2048;
  st.InfoSize = 256;
  SetMemoryMap(st);
  StoreDemoImage(st);
}

void PrepareDemoProject(StationState& st, std::string_view chip) {
  PendingChip pending;
  ApplySizeRule(chip, pending);
  CommitChipSelection(st, pending, chip);
  SetMemoryMap(st);
  StoreDemoImage(st);
}

void WriteDemoProject(const std::string& path, uint16_t kb) {
  auto st = std::make_unique<StationState>();
  PrepareDemoProject(*st, kb);
  WriteProjectFile(*st, path, kStationModelCode);
}

void WriteDemoProject(const std::string& path, std::string_view chip) {
  auto st = std::make_unique<StationState>();
  PrepareDemoProject(*st, chip);
  WriteProjectFile(*st, path, kStationModelCode);
}

}  // namespace zek::demo
