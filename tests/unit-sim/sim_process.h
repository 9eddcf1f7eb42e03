#pragma once
// Runs dorvik410-sim as a child process for the smoke tests, with plain
// POSIX calls: fork/exec, a pipe on its standard output, signals, waitpid.

#include <sys/types.h>

#include <string>
#include <vector>

namespace zek::sim::testing {

class SimProcess {
 public:
  ~SimProcess();
  // Starts the simulator with these arguments; true once it printed "ready"
  // within a few seconds.
  bool Start(const std::vector<std::string>& args);
  // Sends the signal and returns the exit status (-1 when it did not exit
  // normally within a few seconds).
  int Stop(int signal);
  // Waits for exit without a signal (for start-up failures).
  int Wait();
  // Reads the output until it holds `text`; false when it did not within
  // timeout_ms or the simulator's output ended.
  bool WaitForOutput(const std::string& text, int timeout_ms);
  const std::string& Output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
};

// A fresh empty folder under the test's temporary directory.
std::string MakeTempDir();

// Opens a link in raw mode, as the station opens a port; -1 on failure.
int OpenRawPort(const std::string& path);

// Reads what arrives within timeout_ms, stopping early after a closing
// frame delimiter; returns the bytes, and sets hung_up when the line dropped.
std::vector<uint8_t> ReadReply(int fd, int timeout_ms, bool& hung_up);

}  // namespace zek::sim::testing
