#pragma once
// The two plain-text hex formats. Neither ever reports a bad line: any
// character that is not a hex digit goes through the digit rule. Both store
// at buffer index = address, but nothing at or beyond 16 MiB: addresses
// run on past 0xFFFFFFFF instead of wrapping, so such bytes are dropped
// too. Lines of any length are read whole. start and end are set once, when the load ends
// (end is always 0xFFFF); a read error leaves them as they were.

#include <cstdint>
#include <string_view>

#include "filelib/hex_digits.h"
#include "filelib/line_reader.h"
#include "filelib/loader_frame.h"
#include "filelib/result_codes.h"

namespace rhb {

// TI-430 text: "@addr" lines, lines of byte pairs, a line starting with
// 'q' ends the file. start := lowest "@" address, 0xFFFFFFFF without one.
FrameResult LoadTi430Text(ByteSource& source, uint8_t* buf, uint32_t* start, uint32_t* end);

// Text-hex: "@addr" then blank-separated tokens on each line; a token of up
// to 2 digits is a byte, of 3 or 4 a 16-bit value (low byte first).
// start := lowest line address, where a line without "@" has address 0.
FrameResult LoadTextHex(ByteSource& source, uint8_t* buf, uint32_t* start, uint32_t* end);

inline constexpr uint32_t kTextLoaderEnd = 0xFFFF;

// An address of either format; past the top it names no byte and is held
// at kPastTop.
using TextAddress = uint64_t;
inline constexpr TextAddress kPastTop = TextAddress{kTopAddress} + 1;
inline TextAddress AddDigit(TextAddress address, char c) {
  TextAddress next = address * 16 + HexCharToNibble(c);
  return next < kPastTop ? next : kPastTop;
}
inline void PutTextByte(uint8_t* buf, TextAddress address, uint8_t value) {
  if (address < kWindow16M) buf[address] = value;
}

// One line of each format, for the loaders above (and for fuzzing).
struct Ti430State {
  TextAddress current = 0;
  uint32_t lowest = 0xFFFFFFFF;
};
// False at the 'q' line that ends the file. The line must not be empty.
bool Ti430LoadLine(std::string_view line, uint8_t* buf, Ti430State& st);
// The line's address (0 without "@").
TextAddress TextHexLoadLine(std::string_view line, uint8_t* buf);

}  // namespace rhb
