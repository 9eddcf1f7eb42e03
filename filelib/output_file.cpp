#include "filelib/output_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace rhb {

namespace {
constexpr size_t kFlushAt = 256 * 1024;
}

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(const char* path) {
  fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) error_ = errno;
  return fd_ >= 0;
}

void OutputFile::Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

void OutputFile::Write(const void* bytes, size_t n) {
  pending_.append(static_cast<const char*>(bytes), n);
  if (pending_.size() >= kFlushAt) Flush();
}

void OutputFile::Flush() {
  const char* p = pending_.data();
  size_t left = pending_.size();
  while (left > 0 && fd_ >= 0 && error_ == 0) {
    ssize_t k = ::write(fd_, p, left);
    if (k < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      break;
    }
    p += k;
    left -= static_cast<size_t>(k);
  }
  pending_.clear();
}

int OutputFile::Close() {
  if (fd_ < 0) return error_;
  Flush();
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  return error_;
}

}  // namespace rhb
