#pragma once
// The station's fixed chip table: six series, each with its list text,
// class code and ordered part names, and the rules that derive a part's
// memory sizes from its name.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "station/data/station_state.h"

namespace zek {

inline constexpr int kChipSeriesCount = 6;
inline constexpr int kChipPartCount = 44;

// The three parallel per-series arrays, indexed by series, and the series'
// list texts.
extern const std::array<std::span<const std::string_view>, kChipSeriesCount> ChipSeriesParts;
extern const std::array<uint8_t, kChipSeriesCount> ChipSeriesLastIndex;
extern const std::array<uint8_t, kChipSeriesCount> ChipSeriesClass;
extern const std::array<std::string_view, kChipSeriesCount> ChipSeriesTexts;

// "BF7112" parts are listed with series 0 but travel as class 0x40, index 0.
inline constexpr uint8_t kBF7112ClassCode = 0x40;

// What the chip dialog holds between opening and OK.
struct PendingChip {
  uint8_t ClassCode = 0;
  uint8_t PartIndex = 0;
  uint16_t FlashKB = 0;
  uint16_t EepSize = 0;
  uint16_t InfoSize = 0;  // info block, or the option/NVR area where the series has one
  uint16_t PageSize = 0;
  uint32_t EepStart = 0xFFFFFFFF;
  uint32_t EepEnd = 0xFFFFFFFF;
};

// The size rules; each writes the pending sizes, SetSizesBF7 also the class
// of "BF7112" parts. SetSizesBS32 leaves everything as it was for a flash
// letter it does not know (or a name too short to have one).
void SetSizesBS9(std::string_view name, PendingChip& pending);
void SetSizesBF7(std::string_view name, PendingChip& pending);
void SetSizesBS32(std::string_view name, PendingChip& pending);
// Picks the rule by the name's first five characters and applies it.
void ApplySizeRule(std::string_view name, PendingChip& pending);

// OK of the chip dialog: forgets the image and the loaded files, then makes
// the pending choice the station's chip, named `name`.
void CommitChipSelection(StationState& st, const PendingChip& pending, std::string_view name);

}  // namespace zek
