#pragma once
// Bytes typed by the operator and written into the main or EEP image at a
// chip address, for constants such as a fixed serial number.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "station/data/station_state.h"

namespace zek {

enum class PatchTarget { Main, Eep };

// Where a patch at `address` lands: addresses below the EEPROM start go to
// MainBuffer at the address itself, the others to EepBuffer at their
// distance from the EEPROM start. The index is kept whole (no 16-bit
// wrap), so a far address is refused instead of landing near the start.
struct PatchPlace {
  PatchTarget Target;
  uint64_t Index;
};
PatchPlace PatchPlaceFor(uint32_t address, uint32_t eep_start);

// Bytes of a hexadecimal text: a blank stores the accumulated byte (0 when
// no digit came before it), any other character shifts in its digit value
// (0 for a character that is no hexadecimal digit), keeping the last two
// digits of a longer run; a pending byte is stored at the end.
std::vector<uint8_t> HexPatchBytes(std::string_view text);

struct PatchOutcome {
  bool Written = false;
  PatchTarget Target = PatchTarget::Main;
  std::string Refusal;  // why nothing was written
};

// Writes bytes into the image the address selects. A patch that would
// reach past the end of its image writes nothing and says why.
PatchOutcome WritePatch(StationState& st, uint32_t address, std::span<const uint8_t> bytes);

}  // namespace zek
