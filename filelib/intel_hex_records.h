#pragma once
// Intel HEX record parsers. Each takes one line (without its end), stores
// the data of type 00 records into the buffer and returns a ResultCode.
// They read nothing beyond the line: a record shorter than its count
// needs is a checksum error (4) and changes nothing.
//
// The four differ in how type 02/04 records set the bases, how the 18Fx
// and 33Fx ones fold a high linear base, and where they stop storing:
//   ParseHexRecord        index = address, window 4 MiB
//   ParseHexRecord18Fx    index = address, window 16 MiB
//   ParseHexRecord33Fx    index = address, window 16 MiB
//   ParseHexRecordOffset  index = address - base, window 4 MiB above base

#include <cstdint>
#include <string_view>

#include "filelib/record_state.h"

namespace rhb {

uint8_t ParseHexRecord(std::string_view line, uint8_t* buffer, HexRecordState& st);
uint8_t ParseHexRecord18Fx(std::string_view line, uint8_t* buffer, HexRecordState& st);
uint8_t ParseHexRecord33Fx(std::string_view line, uint8_t* buffer, HexRecordState& st);
uint8_t ParseHexRecordOffset(std::string_view line, uint32_t base, uint8_t* buffer, HexRecordState& st);

// How a type 04 value x 65536 becomes the linear base.
uint32_t Fold18Fx(uint32_t linear);
uint32_t Fold33Fx(uint32_t linear);

}  // namespace rhb
