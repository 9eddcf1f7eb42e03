#include "station/data/data_patch.h"

#include <algorithm>

#include "station/data/format.h"

namespace zek {
namespace {

uint8_t DigitOf(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return 0;
}

}  // namespace

PatchPlace PatchPlaceFor(uint32_t address, uint32_t eep_start) {
  if (address < eep_start) return {PatchTarget::Main, address};
  return {PatchTarget::Eep, static_cast<uint64_t>(address - eep_start)};
}

std::vector<uint8_t> HexPatchBytes(std::string_view text) {
  std::vector<uint8_t> bytes;
  uint8_t accumulator = 0;
  bool pending = false;
  for (char c : text) {
    if (c == ' ') {
      bytes.push_back(accumulator);
      accumulator = 0;
      pending = false;
    } else {
      accumulator = static_cast<uint8_t>(accumulator * 16 + DigitOf(c));
      pending = true;
    }
  }
  if (pending) bytes.push_back(accumulator);
  return bytes;
}

PatchOutcome WritePatch(StationState& st, uint32_t address, std::span<const uint8_t> bytes) {
  const PatchPlace place = PatchPlaceFor(address, st.EepStartAddress);
  const bool main = place.Target == PatchTarget::Main;
  const std::span<uint8_t> image = main ? std::span<uint8_t>(st.MainBuffer.span()) : st.EepBuffer.span();
  PatchOutcome outcome;
  outcome.Target = place.Target;
  if (place.Index + bytes.size() > image.size()) {
    outcome.Refusal = Format("Patch refused: %d byte(s) at address 0x%0.8x would pass the end of the %s (0x%x bytes).",
                             {static_cast<int64_t>(bytes.size()), address,
                              main ? "main buffer" : "EEP buffer", static_cast<int64_t>(image.size())});
    return outcome;
  }
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(place.Index));
  outcome.Written = true;
  return outcome;
}

}  // namespace zek
