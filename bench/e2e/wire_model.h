#pragma once
// One direction of a serial line at 1,000,000 baud, 11 bits a byte: bytes
// put on it leave the far end one after another, each 11 us after the one
// before, and never before they have crossed the whole line.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace zek::bench {

class WireModel {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::nanoseconds kByteTime{11000};

  // Unpaced, every byte arrives the moment it is put on the line.
  explicit WireModel(bool paced) : paced_(paced) {}
  void Put(const uint8_t* bytes, size_t n, Clock::time_point now);
  // The bytes that have arrived by `now`, in order; Take removes them.
  size_t Arrived(Clock::time_point now) const;
  const uint8_t* Data() const { return bytes_.data(); }
  void Take(size_t n);
  bool Empty() const { return bytes_.empty(); }
  // When the next byte arrives (now when one is waiting already).
  Clock::time_point NextArrival(Clock::time_point now) const;
  // When the last byte put on the line arrives.
  Clock::time_point LastArrival() const { return busy_until_; }

 private:
  struct Segment {
    Clock::time_point start;  // when its first byte has crossed, less one byte time
    size_t count;
  };
  bool paced_;
  std::vector<uint8_t> bytes_;
  std::deque<Segment> segments_;
  Clock::time_point busy_until_{};
};

}  // namespace zek::bench
