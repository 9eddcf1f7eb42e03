#pragma once
// Upper-case hexadecimal text for the writers: at least `digits` digits,
// zero-padded, more when the value needs them.

#include <cstdint>
#include <string>

namespace rhb {

void AppendHex(std::string& out, uint32_t value, int digits);

inline void AppendByte(std::string& out, uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(kDigits[b >> 4]);
  out.push_back(kDigits[b & 15]);
}

// The platform's text line end.
inline constexpr char kLineEnd[] = "\n";

}  // namespace rhb
