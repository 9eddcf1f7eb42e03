#pragma once
// Building record lines with correct (or deliberately wrong) checksums.

#include <cstdint>
#include <string>
#include <vector>

namespace rhbtest {

inline std::string HexByte(uint8_t b) {
  static const char* d = "0123456789ABCDEF";
  return {d[b >> 4], d[b & 15]};
}

// ":LLAAAATT<data>CC"; check_delta is added to the right checksum. Built
// by appending only: GCC 12 at -O3 takes a text put in front of a string
// for an overlapping copy (a false -Wrestrict).
inline std::string IntelLine(uint8_t type, uint16_t address, const std::vector<uint8_t>& data,
                             int check_delta = 0) {
  uint8_t sum = static_cast<uint8_t>(data.size() + (address >> 8) + (address & 0xFF) + type);
  std::string s(1, ':');
  s += HexByte(static_cast<uint8_t>(data.size()));
  s += HexByte(address >> 8);
  s += HexByte(address & 0xFF);
  s += HexByte(type);
  for (uint8_t b : data) {
    s += HexByte(b);
    sum = static_cast<uint8_t>(sum + b);
  }
  s += HexByte(static_cast<uint8_t>(0x100 - sum + check_delta));
  return s;
}

inline std::string IntelBase(uint8_t type, uint16_t value) {
  return IntelLine(type, 0, {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

// "S<t>LL<address><data>CC" with address_bytes 2, 3 or 4.
inline std::string SLine(char type, uint32_t address, const std::vector<uint8_t>& data, int check_delta = 0) {
  int abytes = type == '1' || type == '9' ? 2 : type == '2' || type == '8' ? 3 : 4;
  uint8_t count = static_cast<uint8_t>(abytes + data.size() + 1);
  uint8_t sum = count;
  std::string s(1, 'S');
  s += type;
  s += HexByte(count);
  for (int i = abytes - 1; i >= 0; --i) {
    uint8_t b = static_cast<uint8_t>(address >> (8 * i));
    s += HexByte(b);
    sum = static_cast<uint8_t>(sum + b);
  }
  for (uint8_t b : data) {
    s += HexByte(b);
    sum = static_cast<uint8_t>(sum + b);
  }
  s += HexByte(static_cast<uint8_t>(0xFF - sum + check_delta));
  return s;
}

inline std::vector<uint8_t> Ramp(size_t n, uint8_t first = 1) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i);
  return v;
}

}  // namespace rhbtest
