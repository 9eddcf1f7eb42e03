#pragma once
// Writing the inclusive range start..end of an image to a file. Data come
// from buf[address - base] (base 0 for the plain writers); the records
// always carry the real addresses. The file is created or truncated. Each
// returns 0, or the errno of the first failure to create or write.

#include <cstdint>

namespace rhb {

// The bytes only; end below start gives an empty file.
int WriteBinaryFile(const char* path, const uint8_t* buf, uint32_t start, uint32_t end);

// S1 records for an end up to 0xFFFF, S2 up to 0xFFFFFF, S3 above; 32 data
// bytes a record, then the matching S9/S8/S7 terminator; no S0 header.
int WriteSRecordFile(const char* path, const uint8_t* buf, uint32_t base, uint32_t start, uint32_t end);

// Up to 0xFFFF: 16-byte records. Above: an extended linear address record
// first and after every 64 KiB crossing, and 32-byte records that end at
// each crossing. Then ":00000001FF".
int WriteIntelHexFile(const char* path, const uint8_t* buf, uint32_t base, uint32_t start, uint32_t end);

}  // namespace rhb
