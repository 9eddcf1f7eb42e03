#pragma once
// The serial lines between the station and the simulated units, as a child
// process. A pseudo-terminal takes whatever the station writes at once, and
// dorvik410-sim paces only what a unit sends (a little ahead, as a UART's
// FIFO would); the relay hands each byte on only once it would have crossed
// a real line, both ways, so a run costs what it would on real lines. It
// also notes the span of the transfers: from the first block-sized command
// (the short search queries before it are left out) to the last answer
// byte passed on; and, within it, each port's turnaround: from the last
// byte of a unit's answer passed on to the first byte of the station's
// next command.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zek::bench {

struct LineStats {
  uint64_t to_unit = 0;     // bytes the station sent
  uint64_t to_station = 0;  // bytes the unit sent
  uint64_t turnarounds = 0;
  double turnaround_sum_us = 0;
  double turnaround_max_us = 0;
  // Steady-clock nanoseconds (the same clock in every process); 0 before
  // the first block. Bytes both ways from the first block on.
  int64_t span_start_ns = 0;
  int64_t span_end_ns = 0;
  uint64_t span_bytes = 0;
};

// Wire time of the busiest line's span bytes over the span from the
// earliest first block to the latest last answer of all lines: 1.00 would
// be a line never idle.
struct SpanFigure {
  double wire_s = 0, span_s = 0;
  double turnaround_ms = 0;  // mean over every line
  double Share() const { return span_s > 0 ? wire_s / span_s : 0; }
};
SpanFigure TransferSpan(const std::vector<LineStats>& lines);

class LineRelay {
 public:
  // Links station_dir/NAME to a new terminal for each unit link
  // unit_dir/NAME and starts relaying in a child process.
  LineRelay(const std::string& unit_dir, const std::string& station_dir, const std::vector<std::string>& names,
            bool paced);
  ~LineRelay();
  LineRelay(const LineRelay&) = delete;
  LineRelay& operator=(const LineRelay&) = delete;

  // Zeroes the counts; returns once the relay has done so.
  void Reset();
  // The counts since the last Reset, per name; relaying goes on.
  std::vector<LineStats> Stats();

 private:
  void Command(char c);
  size_t lines_;
  pid_t pid_ = -1;
  int control_ = -1;  // parent -> relay
  int report_ = -1;   // relay -> parent
};

}  // namespace zek::bench
