#include "station/data/option_block.h"

namespace zek {
namespace {

constexpr size_t kRdpOffset = 504;
constexpr size_t kUserOffset = 505;
constexpr size_t kInfWrpOffset = 508;

// Stores a and b at the group's start and their complements after them.
void StoreGroup(StationState& st, size_t offset, uint8_t a, uint8_t b) {
  st.OptionBuffer[offset] = a;
  st.OptionBuffer[offset + 1] = b;
  st.OptionBuffer[offset + 2] = static_cast<uint8_t>(~a);
  st.OptionBuffer[offset + 3] = static_cast<uint8_t>(~b);
}

uint16_t GroupWord(const StationState& st, size_t offset) {
  return static_cast<uint16_t>(st.OptionBuffer[offset] | st.OptionBuffer[offset + 1] << 8);
}

}  // namespace

size_t WrpOffset(int n) {
  // WRP6/WRP7 lead the block, WRP0/WRP1 close the WRP groups.
  return kChipOptionBlockOffset + 4 * static_cast<size_t>(3 - n / 2) + static_cast<size_t>(n % 2);
}

OptionChoice ReadOptionChoice(const StationState& st) {
  OptionChoice choice;
  choice.RopItem = st.OptionBuffer[kRdpOffset] == kRdpLevel0 ? 0 : 1;
  choice.IwdgItem = st.OptionBuffer[kUserOffset] & 1;
  for (int n = 0; n < 8; ++n) choice.Wrp[n] = st.OptionBuffer[WrpOffset(n)];
  return choice;
}

void StoreOptionChoice(StationState& st, const OptionChoice& choice) {
  const uint8_t rdp = choice.RopItem == 0 ? kRdpLevel0 : kRdpLevel1;
  const uint8_t user = static_cast<uint8_t>((st.OptionBuffer[kUserOffset] & ~1) | (choice.IwdgItem != 0 ? 1 : 0));
  StoreGroup(st, kRdpOffset, rdp, user);
  for (int n = 6; n >= 0; n -= 2) StoreGroup(st, WrpOffset(n), choice.Wrp[n], choice.Wrp[n + 1]);
  const uint8_t inf = choice.InfWrpItem == 0 ? 0x00 : 0xFF;
  StoreGroup(st, kInfWrpOffset, inf, inf);
}

bool OptionBlockNeedsWrite(const StationState& st) {
  for (size_t offset = kChipOptionBlockOffset; offset < kChipOptionBlockOffset + kChipOptionBlockSize;
       offset += 4) {
    const uint16_t erased = offset == kRdpOffset ? 0x07A5 : 0xFFFF;
    if (GroupWord(st, offset) != erased) return true;
  }
  return false;
}

}  // namespace zek
