#include "filelib/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rhb {

namespace {
constexpr size_t kChunk = 64 * 1024;
}

ssize_t MemorySource::Read(char* dst, size_t n) {
  size_t k = std::min(n, text_.size());
  std::memcpy(dst, text_.data(), k);
  text_.remove_prefix(k);
  return static_cast<ssize_t>(k);
}

FileSource::~FileSource() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileSource::Open(const char* path) {
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  errno_ = fd_ < 0 ? errno : 0;
  // A folder opens read-only here but is no file: refuse it at the open, so
  // the binary loaders do not take the folder's size for a file's.
  struct stat st {};
  if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    errno_ = EISDIR;
  }
  return fd_ >= 0;
}

ssize_t FileSource::Read(char* dst, size_t n) {
  for (;;) {
    ssize_t k = ::read(fd_, dst, n);
    if (k >= 0) return k;
    if (errno == EINTR) continue;
    errno_ = errno;
    return -1;
  }
}

LineReader::LineReader(ByteSource& source) : source_(source), buf_(kChunk) {}

// Keeps the unread tail, makes room, and reads once more.
bool LineReader::Fill() {
  if (eof_ || failed_) return false;
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buf_.size() - end_ < kChunk / 2) buf_.resize(buf_.size() * 2);
  ssize_t k = source_.Read(buf_.data() + end_, buf_.size() - end_);
  if (k < 0) {
    failed_ = true;
    return false;
  }
  if (k == 0) {
    eof_ = true;
    return false;
  }
  end_ += static_cast<size_t>(k);
  return true;
}

bool LineReader::Next(std::string_view& line) {
  size_t scanned = begin_;
  for (;;) {
    const char* base = buf_.data();
    const void* lf = std::memchr(base + scanned, '\n', end_ - scanned);
    if (lf != nullptr) {
      size_t stop = static_cast<size_t>(static_cast<const char*>(lf) - base);
      size_t len = stop - begin_;
      if (len > 0 && base[stop - 1] == '\r') --len;
      line = std::string_view(base + begin_, len);
      begin_ = stop + 1;
      return true;
    }
    size_t held = end_ - begin_;
    if (!Fill()) break;
    scanned = begin_ + held;
  }
  if (failed_ || begin_ == end_) return false;
  size_t len = end_ - begin_;
  if (buf_[end_ - 1] == '\r') --len;
  line = std::string_view(buf_.data() + begin_, len);
  begin_ = end_;
  return true;
}

}  // namespace rhb
