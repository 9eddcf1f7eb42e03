#pragma once
// For benchmarks: when $ZEK_TICK_PROBE names a file, the 10 ms timer's
// ticks are watched while any port is busy, and at the end the file gets
// one line: the busy span, the process's CPU time over it, and the longest
// gap between two ticks in it (how long the window thread was held up).
// Without the variable it does nothing.

#include <chrono>
#include <string>

namespace zek {

class TickProbe {
 public:
  TickProbe();
  ~TickProbe();
  TickProbe(const TickProbe&) = delete;
  TickProbe& operator=(const TickProbe&) = delete;
  void Tick(bool any_busy);

 private:
  using Clock = std::chrono::steady_clock;
  std::string path_;
  bool busy_ = false;
  Clock::time_point first_busy_{}, last_busy_{}, last_tick_{};
  double cpu_first_ = 0, cpu_last_ = 0;
  double max_gap_ms_ = 0;
  long busy_ticks_ = 0;
};

}  // namespace zek
