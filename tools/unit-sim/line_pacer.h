#pragma once
// Holds a unit's output to the real line rate: 1,000,000 baud with 11 bits
// a byte (start, eight data, parity, stop) is 11 us a byte. Writes may run
// up to kLead ahead of the wire, as a UART's FIFO would.

#include <chrono>
#include <cstddef>

namespace zek::sim {

class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::nanoseconds kByteTime{11000};
  static constexpr std::chrono::nanoseconds kLead{1000000};

  explicit LinePacer(bool paced) : paced_(paced) {}
  // Bytes that may be written at `now`; unbounded when unpaced.
  size_t Allowance(Clock::time_point now) const;
  void Wrote(size_t n, Clock::time_point now);
  // When a byte may be written again.
  Clock::time_point NextSlot(Clock::time_point now) const;

 private:
  bool paced_;
  Clock::time_point line_free_{};  // when the bytes written so far have left
};

}  // namespace zek::sim
