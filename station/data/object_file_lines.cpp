#include "station/data/object_file_lines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "station/data/errors.h"

namespace zek {
namespace {

constexpr size_t kWindowSize = 1 << 16;

}  // namespace

TextLineReader::TextLineReader(const std::string& path) : path_(path), window_(kWindowSize) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw FileError(errno, path);
}

TextLineReader::~TextLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

// Moves the unread tail to the front and reads more behind it; false when
// nothing more could be added.
bool TextLineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(window_.data(), window_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    scanned_ -= begin_;
    begin_ = 0;
  }
  if (end_ == window_.size()) return false;
  ssize_t n;
  do {
    n = ::read(fd_, window_.data() + end_, window_.size() - end_);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw FileError(errno, path_);
  if (n == 0) {
    eof_ = true;
    return false;
  }
  end_ += static_cast<size_t>(n);
  return true;
}

bool TextLineReader::Next(std::string_view& line) {
  for (;;) {
    if (begin_ == end_ && !Fill()) {
      if (begin_ == end_) return false;
    }
    if (skip_lf_) {
      skip_lf_ = false;
      if (window_[begin_] == '\n') {
        scanned_ = ++begin_;
        continue;
      }
    }
    const char* base = window_.data();
    size_t stop = scanned_ < begin_ ? begin_ : scanned_;
    while (stop < end_ && base[stop] != '\n' && base[stop] != '\r') ++stop;
    scanned_ = stop;
    if (stop < end_) {
      bool cut = skip_rest_;
      skip_rest_ = false;
      skip_lf_ = base[stop] == '\r';
      size_t first = begin_;
      begin_ = scanned_ = stop + 1;
      if (cut) continue;
      line = std::string_view(base + first, stop - first);
      return true;
    }
    if (Fill()) continue;
    if (begin_ == end_) return false;
    // No terminator: either the last line of the file or a line as long
    // as the window.
    bool cut = skip_rest_;
    skip_rest_ = !eof_;
    size_t first = begin_;
    begin_ = scanned_ = end_;
    if (cut) continue;
    line = std::string_view(base + first, end_ - first);
    return true;
  }
}

}  // namespace zek
