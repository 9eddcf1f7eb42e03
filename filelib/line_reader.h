#pragma once
// Reading a text file line by line, from a file or from memory (tests and
// fuzzers). A line ends at LF; a CR just before it is dropped too. A last
// line without LF still counts. Lines are handed out as views that stay
// valid until the next call.

#include <cstddef>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace rhb {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to n bytes into dst: the count read, 0 at the end, -1 on an error
  // (then Errno() tells which).
  virtual ssize_t Read(char* dst, size_t n) = 0;
  virtual int Errno() const { return 0; }
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view text) : text_(text) {}
  ssize_t Read(char* dst, size_t n) override;

 private:
  std::string_view text_;
};

// A file opened read-only; Open() fails with errno kept in Errno() (a
// folder fails with EISDIR).
class FileSource final : public ByteSource {
 public:
  FileSource() = default;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  ~FileSource() override;
  bool Open(const char* path);
  ssize_t Read(char* dst, size_t n) override;
  int Errno() const override { return errno_; }
  int Fd() const { return fd_; }

 private:
  int fd_ = -1;
  int errno_ = 0;
};

class LineReader {
 public:
  explicit LineReader(ByteSource& source);
  // The next line without its end; false at the end of the text or on a
  // read error (Failed() tells them apart).
  bool Next(std::string_view& line);
  bool Failed() const { return failed_; }
  int Errno() const { return source_.Errno(); }

 private:
  bool Fill();

  ByteSource& source_;
  std::vector<char> buf_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte held
  bool eof_ = false;
  bool failed_ = false;
};

}  // namespace rhb
