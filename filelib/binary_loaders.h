#pragma once
// Raw binary loaders: the file from its first byte into buf[0 ...], read
// in chunks. size is the file's size (low 32 bits); a file that could not
// be opened is passed as size 0xFFFFFFFF with a source whose reads fail.
// A short read still counts its whole chunk: the image keeps its old bytes
// for the missing part.

#include <cstdint>

#include "filelib/line_reader.h"

namespace rhb {

inline constexpr uint32_t kUnopenedSize = 0xFFFFFFFF;

// At most 4 MiB; end := bytes taken - 1. With sum set (the Sum variant),
// 256-byte chunks and the 32-bit sum of the bytes read.
void LoadBinary(ByteSource& source, uint32_t size, uint8_t* buf, uint32_t* end, uint32_t* sum);

// A file longer than *limit gives exactly *limit bytes and keeps *limit;
// otherwise the whole file and *limit := size - 1. Result 10 for the
// longer file, 6 when a read failed, else 0.
int32_t LoadBinaryLimited(ByteSource& source, uint32_t size, uint8_t* buf, uint32_t* limit);

// Size of an open file descriptor, low 32 bits.
uint32_t FileSize32(int fd);

}  // namespace rhb
