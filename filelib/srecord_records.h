#pragma once
// Motorola S-record parsers. Each takes one line (without its end), stores
// the data of S1/S2/S3 records and returns a ResultCode; S0, S5, S7, S8 and
// S9 are accepted unchecked. They read nothing beyond the line: a record
// shorter than its count needs is a checksum error (4) and stores nothing;
// a count that leaves no data byte is an empty record (0).
//   ParseSRecord        index = address, window 16 MiB
//   ParseSRecordOffset  index = address - base, window 4 MiB above base

#include <cstdint>
#include <string_view>

#include "filelib/record_state.h"

namespace rhb {

uint8_t ParseSRecord(std::string_view line, uint8_t* buffer, SRecordState& st);
uint8_t ParseSRecordOffset(std::string_view line, uint32_t base, uint8_t* buffer, SRecordState& st);

}  // namespace rhb
