#include "station/data/object_file_binary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "station/data/byte_sums.h"
#include "station/data/errors.h"

namespace zek {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Reads until `want` bytes are in or a read fails or ends; returns the count.
size_t ReadUpTo(int fd, uint8_t* out, size_t want) {
  size_t got = 0;
  while (got < want) {
    ssize_t n = ::read(fd, out + got, want - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  return got;
}

// Stores at most `capacity` bytes; shows the limit box when the file holds
// more. Returns the number of bytes stored.
uint32_t ReadBounded(StationState& st, const std::string& path, std::span<uint8_t> buffer, uint64_t capacity) {
  capacity = std::min<uint64_t>(capacity, buffer.size());
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return 0;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  const uint64_t size = static_cast<uint64_t>(info.st_size);
  const size_t want = static_cast<size_t>(std::min(size, capacity));
  const size_t got = ReadUpTo(fd.get(), buffer.data(), want);
  if (got == want && size > capacity) st.Views.Boxes->Plain("地址超出范围！");
  return static_cast<uint32_t>(got);
}

void WriteAll(int fd, const std::string& path, const uint8_t* data, size_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, data, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(errno, path);
    data += n;
    length -= static_cast<size_t>(n);
  }
}

}  // namespace

void ReadBinaryFile(StationState& st, const std::string& path, std::span<uint8_t> buffer, uint32_t& limit) {
  uint64_t capacity = limit == 0 ? buffer.size() : limit;
  limit = ReadBounded(st, path, buffer, capacity);
}

void ReadBinaryFileSum(StationState& st, const std::string& path, std::span<uint8_t> buffer, uint32_t& end_address,
                       uint32_t& sum) {
  uint64_t capacity = end_address == 0 ? buffer.size() : uint64_t{end_address} + 1;
  uint32_t stored = ReadBounded(st, path, buffer, capacity);
  if (stored > 0) sum += SumBytes(buffer, 0, stored - 1);
  end_address = stored;
}

void WriteBinaryFile(const std::string& path, std::span<const uint8_t> buffer, uint32_t start, uint32_t end) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) throw FileError(errno, path);
  if (end >= start && start < buffer.size()) {
    uint64_t last = std::min<uint64_t>(end, buffer.size() - 1);
    WriteAll(fd.get(), path, buffer.data() + start, static_cast<size_t>(last - start + 1));
  }
  if (::close(fd.release()) != 0) throw FileError(errno, path);
}

}  // namespace zek
