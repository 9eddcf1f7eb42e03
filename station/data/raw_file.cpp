#include "station/data/raw_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "station/data/errors.h"

namespace zek {
namespace {

// Fills out[0 .. want) unless the file ends first; returns the count.
size_t ReadFully(int fd, const std::string& path, uint8_t* out, size_t want) {
  size_t got = 0;
  while (got < want) {
    const ssize_t n = ::read(fd, out + got, want - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(errno, path);
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return got;
}

}  // namespace

RawFileRead ReadRawFile(const std::string& path, std::span<uint8_t> dest) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(errno, path);
  RawFileRead result;
  try {
    result.Stored = static_cast<uint32_t>(ReadFully(fd, path, dest.data(), dest.size()));
    uint8_t probe = 0;
    result.Longer = result.Stored == dest.size() && ReadFully(fd, path, &probe, 1) == 1;
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  return result;
}

}  // namespace zek
