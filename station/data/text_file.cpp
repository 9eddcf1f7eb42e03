#include "station/data/text_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "station/data/errors.h"

namespace zek {
namespace {

void WriteWithMode(const std::string& path, const std::vector<std::string>& lines, const char* mode) {
  FILE* raw = std::fopen(path.c_str(), mode);
  if (raw == nullptr) throw FileError(errno, path);
  std::unique_ptr<FILE, int (*)(FILE*)> file(raw, &std::fclose);
  for (const std::string& line : lines) {
    if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() || std::fputc('\n', file.get()) == EOF)
      throw FileError(errno != 0 ? errno : EIO, path);
  }
  errno = 0;
  if (std::fclose(file.release()) != 0) throw FileError(errno != 0 ? errno : EIO, path);
}

}  // namespace

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  WriteWithMode(path, lines, "w");
}

void AppendTextLines(const std::string& path, const std::vector<std::string>& lines) {
  WriteWithMode(path, lines, "a");
}

}  // namespace zek
