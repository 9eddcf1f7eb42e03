#pragma once
// The chip memory map and the images it governs. Ranges are inclusive pairs
// of unsigned 32-bit chip addresses; a region the chip lacks is 0xFFFFFFFF
// in both ends, and an end is start + size - 1 in 32-bit arithmetic.

#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

inline constexpr uint32_t kNoAddress = 0xFFFFFFFF;

// Whether `address` lies in [start, end]. An absent region (both ends
// 0xFFFFFFFF) and an empty one (end one below start, as a size of 0
// gives) hold no address at all.
constexpr bool RangeHolds(uint32_t start, uint32_t end, uint32_t address) {
  if (start == kNoAddress && end == kNoAddress) return false;
  if (end == start - 1) return false;
  return start <= address && address <= end;
}

// Empties the images and forgets the chip and the loaded object files.
// Other ranges, sizes and sums keep their values.
void ResetBuffers(StationState& st);

// Derives the flash, EEPROM, option and information ranges from
// ChipClassCode, ChipFlashSizeKB, EepSize and InfoSize, refills the option
// image and, on classes 0x10/0x12, lays in the default option block.
// MainBuffer and EepBuffer are left alone.
void SetMemoryMap(StationState& st);

// The ranges (and FlashSizeKB) of SetMemoryMap alone; the option image
// keeps its bytes.
void SetMemoryRanges(StationState& st);

// Recomputes OptionAcc16/OptionCrc16 over OptionBuffer[0..511] and prints
// the 32 bytes at OptionBuffer[480..511] into the information log, without
// time stamps.
void ShowOptionDump(StationState& st);

}  // namespace zek
