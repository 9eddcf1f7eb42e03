#include "filelib/io_error.h"

#include <cerrno>
#include <cstdio>

namespace rhb {

namespace {
struct ErrorText {
  int error;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {ENOENT, "File not found"},       {ENOTDIR, "Path not found"},
    {EMFILE, "Too many open files"},  {ENFILE, "Too many open files"},
    {EACCES, "File access denied"},   {EPERM, "File access denied"},
    {EROFS, "File access denied"},    {EISDIR, "File access denied"},
    {ENOSPC, "Disk full"},            {EDQUOT, "Disk full"},
    {EIO, "Disk read error"},         {ENAMETOOLONG, "Invalid filename"},
};
}  // namespace

std::string IoErrorText(int error) {
  for (const ErrorText& e : kTexts)
    if (e.error == error) return e.text;
  char text[32];
  std::snprintf(text, sizeof text, "I/O error %d", error);
  return text;
}

}  // namespace rhb
