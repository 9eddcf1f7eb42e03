#pragma once
// Result codes of the record parsers and silent loaders, and the windows
// that bound where the loaders store.

#include <cstdint>

namespace rhb {

enum ResultCode : uint8_t {
  kAccepted = 0,             // stored, or nothing to store
  kNoStartMark = 1,          // no ':' (Intel HEX) or 'S' (S-record) first
  kBadSRecordType = 2,       // S4, S6 or a non-digit type
  kBadBaseAddressField = 3,  // Intel type 02/04 whose address field is not 0000
  kBadChecksum = 4,          // also a record shorter than its count needs
  kBadHexType = 5,           // Intel type 06 and above
  kOutsideWindow = 6,        // not stored; binary loaders: a failed read
  kLongerThanLimit = 10,     // binary file longer than the caller's limit
  kIoFailed = 255,           // the file could not be opened or read
};

// A window is the number of bytes from a loader's buffer (or base) that it
// may store into; nothing is ever stored at or beyond it.
inline constexpr uint32_t kWindow4M = 0x400000;
// The largest window, and the bound for the loaders that have none of
// their own: a hostile file cannot make any loader store beyond it.
inline constexpr uint32_t kWindow16M = 0x1000000;
// Addresses are 32-bit: a byte past the top is dropped, never wrapped to 0.
inline constexpr uint32_t kTopAddress = 0xFFFFFFFF;

}  // namespace rhb
