#pragma once
// What ends the station from outside its window: a stop signal (SIGTERM,
// SIGINT, SIGHUP), and the process ending while the window is still open,
// as the toolkit ends it at once when the display goes away.

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace zek {

// While it lives, a stop signal calls `stop` with the signal's number, on
// this thread and from its event loop (the signal handler only writes to a
// pipe). Only the first signal is caught: a second one ends the process
// as it would have ended without this, should the orderly close hang.
// A signal ignored at start stays ignored.
class StopSignals {
 public:
  explicit StopSignals(std::function<void(int)> stop);
  ~StopSignals();  // the earlier handlers again
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  // The signal that asked for the stop; 0 while none came.
  int Received() const { return received_; }

 private:
  void Read();
  void RestoreEarlier();
  std::function<void(int)> stop_;
  int pipe_[2] = {-1, -1};
  struct sigaction earlier_[3] {};
  std::unique_ptr<QSocketNotifier> notifier_;
  int received_ = 0;
};

// While it lives, a process that ends through exit() runs `last` first, when
// exit() is called on this thread; a process that ends normally does not.
class LastWordsAtExit {
 public:
  explicit LastWordsAtExit(std::function<void()> last);
  ~LastWordsAtExit();
  LastWordsAtExit(const LastWordsAtExit&) = delete;
  LastWordsAtExit& operator=(const LastWordsAtExit&) = delete;

 private:
  std::function<void()> last_;
};

}  // namespace zek
