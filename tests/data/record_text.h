#pragma once
// Builders of well-formed Intel HEX and S-record lines for tests, so a case
// names only what it is about; `checksum_delta` spoils the checksum.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zek::testing {

inline std::string HexDigits(const std::vector<uint8_t>& bytes) {
  std::string s;
  char two[3];
  for (uint8_t b : bytes) {
    std::snprintf(two, sizeof two, "%02X", b);
    s += two;
  }
  return s;
}

// ":LLAAAATT<data>CC" with LL = data size.
inline std::string HexRecord(uint8_t type, uint16_t address, const std::vector<uint8_t>& data,
                             int checksum_delta = 0) {
  std::vector<uint8_t> all = {static_cast<uint8_t>(data.size()), static_cast<uint8_t>(address >> 8),
                              static_cast<uint8_t>(address), type};
  all.insert(all.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (uint8_t b : all) sum = static_cast<uint8_t>(sum + b);
  all.push_back(static_cast<uint8_t>(-sum + checksum_delta));
  return ":" + HexDigits(all);
}

// "S<type>LL<address><data>CC" with the address width of S1/S2/S3 (2, 3,
// 4 bytes); other types take a 2-byte address.
inline std::string SRecord(int type, uint32_t address, const std::vector<uint8_t>& data, int checksum_delta = 0) {
  int address_bytes = (type == 2 || type == 8) ? 3 : (type == 3 || type == 7) ? 4 : 2;
  std::vector<uint8_t> all = {static_cast<uint8_t>(address_bytes + data.size() + 1)};
  for (int k = address_bytes - 1; k >= 0; --k) all.push_back(static_cast<uint8_t>(address >> (8 * k)));
  all.insert(all.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (uint8_t b : all) sum = static_cast<uint8_t>(sum + b);
  all.push_back(static_cast<uint8_t>(~sum + checksum_delta));
  return "S" + std::to_string(type) + HexDigits(all);
}

}  // namespace zek::testing
