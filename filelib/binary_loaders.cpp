#include "filelib/binary_loaders.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

#include "filelib/result_codes.h"

namespace rhb {

namespace {

constexpr uint32_t kChunk = 1024;
constexpr uint32_t kSumChunk = 256;

// False when a read failed (the loop ends there).
bool ReadChunks(ByteSource& source, uint8_t* buf, uint32_t length, uint32_t chunk, uint32_t* sum) {
  char local[kChunk];
  uint32_t position = 0;
  while (position < length) {
    uint32_t want = std::min(length - position, chunk);
    ssize_t got = source.Read(local, want);
    if (got < 0) return false;
    std::memcpy(buf + position, local, static_cast<size_t>(got));
    if (sum != nullptr)
      for (ssize_t i = 0; i < got; ++i) *sum += static_cast<uint8_t>(local[i]);
    position += want;
  }
  return true;
}

}  // namespace

void LoadBinary(ByteSource& source, uint32_t size, uint8_t* buf, uint32_t* end, uint32_t* sum) {
  uint32_t length = std::min(size, kWindow4M);
  if (end != nullptr) *end = length - 1;
  if (sum != nullptr) *sum = 0;
  ReadChunks(source, buf, length, sum != nullptr ? kSumChunk : kChunk, sum);
}

int32_t LoadBinaryLimited(ByteSource& source, uint32_t size, uint8_t* buf, uint32_t* limit) {
  uint32_t cap = limit != nullptr ? *limit : 0;
  bool longer = size > cap;
  uint32_t length = longer ? cap : size;
  if (!longer && limit != nullptr) *limit = size - 1;
  if (!ReadChunks(source, buf, length, kChunk, nullptr)) return kOutsideWindow;
  return longer ? kLongerThanLimit : kAccepted;
}

uint32_t FileSize32(int fd) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return kUnopenedSize;
  return static_cast<uint32_t>(static_cast<uint64_t>(st.st_size));
}

}  // namespace rhb
