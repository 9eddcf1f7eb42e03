#pragma once
// What the Intel HEX and S-record line parsers share: hex pairs read at
// fixed character positions, the result codes, and the placement of a
// record's data into the images by the chip memory map.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "station/data/station_state.h"

namespace zek {

// Result codes of ParseHexLine and ParseS19Line.
inline constexpr uint8_t kRecordOk = 0;
inline constexpr uint8_t kRecordBadStart = 1;       // no ':' or 'S' first
inline constexpr uint8_t kRecordBadType = 2;        // S4, S6 or not a digit
inline constexpr uint8_t kRecordBadBaseField = 3;   // type 02/04 with an address field
inline constexpr uint8_t kRecordBadChecksum = 4;    // also a line too short for its record
inline constexpr uint8_t kRecordUnknownType = 5;    // Intel HEX type above 05
inline constexpr uint8_t kRecordOutOfRange = 8;     // no room for the data in the chip

namespace detail {
// Value of one digit character: 'A'-'Z' c - 55, 'a'-'z' c - 87, else c - 48,
// modulo 256. Nothing is validated.
constexpr std::array<uint8_t, 256> MakeDigitTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    int v = (c >= 'A' && c <= 'Z') ? c - 55 : (c >= 'a' && c <= 'z') ? c - 87 : c - 48;
    t[c] = static_cast<uint8_t>(v);
  }
  return t;
}
inline constexpr std::array<uint8_t, 256> kDigitValue = MakeDigitTable();
}  // namespace detail

// 16 x value(high) + value(low), modulo 256.
constexpr uint8_t HexPairToByte(char high, char low) {
  return static_cast<uint8_t>(detail::kDigitValue[static_cast<uint8_t>(high)] * 16 +
                              detail::kDigitValue[static_cast<uint8_t>(low)]);
}

// The byte whose two digits start at `pos`; the caller has checked that
// both characters are on the line.
inline uint8_t HexByteAt(std::string_view line, size_t pos) { return HexPairToByte(line[pos], line[pos + 1]); }

// Lowest := address if smaller; highest := the record's last address if
// larger (held at 0xFFFFFFFF rather than wrapping past it).
void WidenDataRange(uint32_t address, uint32_t count, uint32_t& lowest, uint32_t& highest);

// How an EEPROM record's address becomes an EepBuffer index.
enum class EepIndexing { Wrap16, Plain };

struct Placement {
  uint8_t code;        // kRecordOk or kRecordOutOfRange
  uint8_t data_check;  // 8-bit sum of the data bytes (valid when code is 0)
};

// Stores the `count` data bytes whose digits start at `digits` by the
// record's start address: flash first, then EEPROM, adding each stored byte
// to `sum` (EEPROM bytes to ParsedByteSum too). An address in neither
// region, or bytes that would land past the image, show the address box
// (naming the first address without room) and give kRecordOutOfRange; the
// bytes that fit stay stored.
Placement PlaceRecordData(StationState& st, uint32_t address, const char* digits, uint32_t count,
                          uint32_t& sum, EepIndexing eep_indexing);

}  // namespace zek
