#include "filelib/message_box.h"

#include <cstdio>
#include <unistd.h>

namespace rhb {

namespace {
void WriteLine(const std::string& text) {
  std::string line = "DorvikRHB: " + text + "\n";
  // One write, so lines of concurrent callers do not interleave.
  ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
  (void)ignored;
}
}  // namespace

BoxAnswer ConsoleMessageBox::ErrorOkAbort(const std::string& text) {
  WriteLine(text);
  return BoxAnswer::Ok;
}

void ConsoleMessageBox::Error(const std::string& text) { WriteLine(text); }

void ConsoleMessageBox::Information(const std::string& text) { WriteLine(text); }

std::string LineErrorText(unsigned line, unsigned code) {
  char text[64];
  std::snprintf(text, sizeof text, "Line %d Data Error : %d.", static_cast<int>(line),
                static_cast<int>(code));
  return text;
}

}  // namespace rhb
