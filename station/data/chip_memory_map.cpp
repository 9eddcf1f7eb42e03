#include "station/data/chip_memory_map.h"

#include <algorithm>
#include <string>

#include "station/data/byte_sums.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"

namespace zek {
namespace {

// Option image offset n stands for chip address 0x20000 + n.
constexpr size_t kOptionBlockOffset = 488;
constexpr size_t kOptionDumpOffset = 480;
constexpr uint32_t kOptionSumEnd = 511;

// The option block of a fresh 0x10/0x12 part: six words whose last two
// bytes complement the first two; the fifth is the read-protection word.
constexpr uint8_t kDefaultOptionBlock[24] = {
    0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0xA5, 0x07, 0x5A, 0xF8, 0xFF, 0xFF, 0x00, 0x00,
};

struct OtherRanges {
  uint32_t eep_start, eep_end;
  uint32_t option_start, option_end;
  uint32_t info_start, info_end;
};

// First matching row wins: 0x90 must be tested before ">= 0x80".
OtherRanges RangesForClass(uint8_t class_code, uint32_t chip_end, uint16_t eep_size, uint16_t info_size) {
  const uint32_t eep_last = static_cast<uint32_t>(eep_size) - 1;
  auto info = [info_size](uint32_t start) { return start + info_size - 1; };
  if (class_code == 0x90) {
    uint32_t s = chip_end + 1;
    return {kNoAddress, kNoAddress, kNoAddress, kNoAddress, s, info(s)};
  }
  if (class_code == 0x10 || class_code == 0x12) {
    return {kNoAddress, kNoAddress, 0x201E0, 0x201FF, 0x20200, 0x203FF};
  }
  if (class_code >= 0x80) {
    uint32_t s = chip_end + 1 + 1024;
    return {0, eep_last, kNoAddress, kNoAddress, s, info(s)};
  }
  if (class_code == 0x40) {
    return {0, eep_last, kNoAddress, kNoAddress, 0x8000, info(0x8000)};
  }
  return {0x40000000, 0x40000000 + eep_last, kNoAddress, kNoAddress, 0x40000800, info(0x40000800)};
}

}  // namespace

void ResetBuffers(StationState& st) {
  std::fill(st.MainBuffer.begin(), st.MainBuffer.end(), 0xFF);
  std::fill(st.EepBuffer.begin(), st.EepBuffer.end(), 0xFF);
  std::fill(st.OptionBuffer.begin(), st.OptionBuffer.end(), 0xFF);
  st.ChipClassCode = 0;
  st.ChipIndex = 0;
  st.ChipStartAddress = 0;
  st.ChipEndAddress = 0;
  st.File1Start = 0;
  st.File1End = 0xFFFF;
  st.File2Start = 0;
  st.File2End = 0xFFFF;
  st.File1Loaded = 0;
  st.File2Loaded = 0;
  st.FileLoaded = 0;
  st.ChipSelected = 0;
}

void SetMemoryMap(StationState& st) {
  std::fill(st.OptionBuffer.begin(), st.OptionBuffer.end(), 0xFF);
  SetMemoryRanges(st);
  if (st.ChipClassCode == 0x10 || st.ChipClassCode == 0x12) {
    std::copy(std::begin(kDefaultOptionBlock), std::end(kDefaultOptionBlock),
              st.OptionBuffer.begin() + kOptionBlockOffset);
  }
}

void SetMemoryRanges(StationState& st) {
  st.FlashSizeKB = st.ChipFlashSizeKB;
  st.FlashStartAddress = 0;
  st.FlashEndAddress = st.FlashStartAddress + static_cast<uint32_t>(st.FlashSizeKB) * 1024 - 1;
  st.ChipStartAddress = st.FlashStartAddress;
  st.ChipEndAddress = st.FlashEndAddress;

  OtherRanges r = RangesForClass(st.ChipClassCode, st.ChipEndAddress, st.EepSize, st.InfoSize);
  st.EepStartAddress = r.eep_start;
  st.EepEndAddress = r.eep_end;
  st.OptionStartAddress = r.option_start;
  st.OptionEndAddress = r.option_end;
  st.InfoStartAddress = r.info_start;
  st.InfoEndAddress = r.info_end;
}

void ShowOptionDump(StationState& st) {
  st.OptionAcc16 = static_cast<uint16_t>(SumBytes(st.OptionBuffer.span(), 0, kOptionSumEnd));
  st.OptionCrc16 = Check16(st.OptionBuffer.span(), 0, kOptionSumEnd);

  AddPlainLine(st, "");
  AddPlainLine(st, "> Chip Option Byte data as below : ");
  for (uint32_t row = 0; row < 2; ++row) {
    std::string line = Format("   %0.6x: ", {st.OptionStartAddress + 16 * row});
    for (size_t j = 0; j < 16; ++j) {
      line += Format("%0.2x ", {st.OptionBuffer[kOptionDumpOffset + 16 * row + j]});
    }
    AddPlainLine(st, line);
  }
}

}  // namespace zek
