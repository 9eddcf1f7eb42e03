#pragma once
// Helpers for the library's tests: a message box that answers from a
// script and records what it was shown, a scratch folder, random images
// and running the outside tools.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "filelib/message_box.h"

namespace rhbtest {

class ScriptedBox final : public rhb::MessageBox {
 public:
  // Answers for the OK/Abort boxes in order; OK once they run out.
  std::deque<rhb::BoxAnswer> answers;
  std::vector<std::string> asked;    // OK/Abort box texts
  std::vector<std::string> errors;   // OK-only error texts
  std::vector<std::string> infos;    // information texts

  rhb::BoxAnswer ErrorOkAbort(const std::string& text) override;
  void Error(const std::string& text) override { errors.push_back(text); }
  void Information(const std::string& text) override { infos.push_back(text); }
};

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path(std::string_view name) const;
  std::string Write(std::string_view name, std::string_view content) const;

 private:
  std::string dir_;
};

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view content);
// Runs a shell command; true when it exited 0. Its output goes to a log
// that the failure message shows.
bool RunTool(const std::string& command, std::string* log = nullptr);
// The text lines of a file (line ends removed).
std::vector<std::string> Lines(const std::string& text);

}  // namespace rhbtest
