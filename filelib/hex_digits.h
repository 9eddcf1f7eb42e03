#pragma once
// The digit rule every text parser of the library shares. It never rejects:
// 'A'..'Z' count from 10, 'a'..'z' likewise, anything else is c - '0'
// (so 'G' is 16 and a blank is 0xF0), all modulo 256.

#include <array>
#include <cstdint>

namespace rhb {

namespace detail {
constexpr std::array<uint8_t, 256> MakeNibbleTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    int v = c - 48;
    if (c >= 'A' && c <= 'Z') v = c - 55;
    if (c >= 'a' && c <= 'z') v = c - 87;
    t[c] = static_cast<uint8_t>(v);
  }
  return t;
}
inline constexpr std::array<uint8_t, 256> kNibble = MakeNibbleTable();
}  // namespace detail

inline uint8_t HexCharToNibble(char c) { return detail::kNibble[static_cast<uint8_t>(c)]; }

// Two characters, high digit first: (16 x high + low) modulo 256.
inline uint8_t HexDigitsToByte(char high, char low) {
  return static_cast<uint8_t>(HexCharToNibble(high) * 16 + HexCharToNibble(low));
}

}  // namespace rhb
