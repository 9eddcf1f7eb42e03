#pragma once
// A private X server for one test process: Xvfb on a display number it
// picks itself, so test processes running side by side never share one.
// It ends with the object, and with the process that started it even when
// that process aborts.

#include <sys/types.h>

#include <string>

namespace zek::testing {

class PrivateXServer {
 public:
  // Throws std::runtime_error when no server comes up.
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  // ":<n>", for DISPLAY.
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace zek::testing
