#include "station/data/errors.h"

#include <cerrno>
#include <cstring>

#include "station/data/format.h"

namespace zek {

std::string FileErrorText(int error_number) {
  switch (error_number) {
    case ENOENT: return "File not found";
    case ENOTDIR: return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS: return "File access denied";
    case EISDIR: return "Invalid file name";
    case ENAMETOOLONG: return "Invalid file name";
    case EMFILE:
    case ENFILE: return "Too many open files";
    case ENOSPC: return "Disk full";
    case EBADF: return "Invalid file handle";
    case EIO: return "I/O error";
    case EEXIST: return "File exists";
    case EBUSY: return "File is busy";
    case 0: return "Read beyond end of file";
    default: return std::string("I/O error ") + std::to_string(error_number) + ": " + std::strerror(error_number);
  }
}

FileError::FileError(int error_number, const std::string& path)
    : std::runtime_error(FileErrorText(error_number)), error_number_(error_number), path_(path) {}

ConvertError::ConvertError(std::string_view text)
    : std::runtime_error(Format("'%s' is not a valid integer value", {text})) {}

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Hexadecimal may fill every bit of the result; decimal must fit its signed
// range.
uint64_t ParseInteger(std::string_view text, uint64_t hex_limit, uint64_t decimal_limit) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  }
  if (i >= text.size()) throw ConvertError(text);
  const uint64_t limit = base == 16 ? hex_limit : (negative ? decimal_limit + 1 : decimal_limit);
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i]);
    if (d >= base || value > (limit - d) / base) throw ConvertError(text);
    value = value * base + d;
  }
  return negative ? 0 - value : value;
}

}  // namespace

int32_t StrToInt(std::string_view text) {
  return static_cast<int32_t>(static_cast<uint32_t>(ParseInteger(text, 0xFFFFFFFFull, 0x7FFFFFFFull)));
}

int64_t StrToInt64(std::string_view text) {
  return static_cast<int64_t>(ParseInteger(text, ~0ull, 0x7FFFFFFFFFFFFFFFull));
}

}  // namespace zek
