#pragma once
// Texts in code page 936 (GBK) for the fixed-width byte fields of the
// binary formats (ChipName, ObjectFileName). The program keeps its texts
// in UTF-8; only these fields carry GBK.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "station/data/station_state.h"

namespace zek {

// The UTF-8 text in code page 936. A character the code page lacks, and
// every byte of a malformed UTF-8 sequence, becomes '?'.
std::string ToGbk(std::string_view utf8);

// The text's GBK bytes, whole characters only, at most `width` bytes: a
// double-byte character that would be cut is left out, since a lone lead
// byte would pair with whatever byte follows it.
std::string FitGbk(std::string_view utf8, size_t width);

// GBK bytes as UTF-8. A byte the code page does not define, and a lead
// byte cut off at the end, becomes '?'.
std::string FromGbk(std::string_view gbk);

// Writes FitGbk of the text into field, then zeros to its end. An empty
// text is written as "?".
void PutFixedText(std::span<uint8_t> field, std::string_view utf8);

// The same into PortPacketBuf[port] at offset, `width` bytes wide; a field
// reaching past the packet area is cut at its end.
void PutFixedText(StationState& st, std::string_view utf8, size_t offset, size_t width, int port);

}  // namespace zek
