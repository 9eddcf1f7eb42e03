#pragma once
// The runtime's two error kinds that reach the window's general error
// handler, which shows their text in a message box; the program goes on.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zek {

// A file could not be opened, read, written or closed.
class FileError : public std::runtime_error {
 public:
  FileError(int error_number, const std::string& path);
  int ErrorNumber() const { return error_number_; }
  const std::string& Path() const { return path_; }

 private:
  int error_number_;
  std::string path_;
};

// The runtime's text for an errno value ("File not found", ...).
std::string FileErrorText(int error_number);

// A text typed as a number is not one: "'%s' is not a valid integer value".
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(std::string_view text);
};

// A 32-bit integer from text: decimal, or hexadecimal after "0x", "x" or
// "$"; leading blanks and a sign allowed. Raises ConvertError otherwise.
int32_t StrToInt(std::string_view text);

// The same rules for a signed 64-bit integer; hexadecimal may fill all 64 bits.
int64_t StrToInt64(std::string_view text);

}  // namespace zek
