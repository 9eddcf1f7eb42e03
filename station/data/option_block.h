#pragma once
// The BS32 chips' option words in ChipOptionBlock (OptionBuffer[488..511]):
// six groups a, b, NOT a, NOT b. Groups from the start: WRP6/WRP7,
// WRP4/WRP5, WRP2/WRP3, WRP0/WRP1, RDP/USER, InfWRP/InfWRP.

#include <array>
#include <cstddef>
#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

inline constexpr size_t kChipOptionBlockOffset = 488;
inline constexpr size_t kChipOptionBlockSize = 24;
inline constexpr uint8_t kRdpLevel0 = 0xA5;
inline constexpr uint8_t kRdpLevel1 = 0x5A;

// OptionBuffer offset of WRPn's byte (n = 0..7).
size_t WrpOffset(int n);

// What the option dialog shows and edits, by its controls' item indices.
struct OptionChoice {
  int RopItem = 0;   // 0: RDP 0xA5 (no protection), 1: any other RDP
  int IwdgItem = 0;  // USER bit 0
  std::array<uint8_t, 8> Wrp{};  // WRP0..WRP7
  int InfWrpItem = 1;  // 0: InfWRP 0x00, 1: InfWRP 0xFF
};

// The block read as the dialog's choices. InfWrpItem is left at its
// default: the dialog never loads it.
OptionChoice ReadOptionChoice(const StationState& st);

// Stores the choices with their complements. USER keeps every bit but
// bit 0; RDP becomes 0xA5 for item 0 and 0x5A otherwise.
void StoreOptionChoice(StationState& st, const OptionChoice& choice);

// Whether the block differs from an erased one: a WRP or InfWRP word
// (a low, b high) other than 0xFFFF, or an RDP/USER word other than 0x07A5.
bool OptionBlockNeedsWrite(const StationState& st);

}  // namespace zek
