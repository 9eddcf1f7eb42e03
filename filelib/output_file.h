#pragma once
// A file being written: created or truncated, written through a buffer.
// The first error is kept; Close() reports it (0 when all went well).

#include <cstddef>
#include <string>
#include <string_view>

namespace rhb {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  bool Create(const char* path);
  void Write(std::string_view bytes);
  void Write(const void* bytes, size_t n);
  // Flushes, closes, and returns the first errno seen, or 0.
  int Close();

 private:
  void Flush();

  int fd_ = -1;
  int error_ = 0;
  std::string pending_;
};

}  // namespace rhb
