#pragma once
// Line errors and modem-line changes of a port, sampled by the receive
// thread where the driver reports them: the TIOCGICOUNT counters (frame,
// overrun, parity, break, buffer overrun; carrier and ring transitions),
// else the TIOCMGET lines for carrier and ring. A pseudo-terminal has
// neither, and is then never sampled.

#include <cstdint>
#include <linux/serial.h>

namespace zek {

// Line-error flags, as the platform's ClearCommError reports them.
inline constexpr uint32_t kLineRxOver = 0x01;
inline constexpr uint32_t kLineOverrun = 0x02;
inline constexpr uint32_t kLineParity = 0x04;
inline constexpr uint32_t kLineFrame = 0x08;
inline constexpr uint32_t kLineBreak = 0x10;

// How often a port that has them is sampled.
inline constexpr int kLineSampleMs = 20;

struct LineChanges {
  uint32_t errors = 0;  // line-error flags that rose since the last sample
  uint32_t modem = 0;   // 8 carrier changed, 4 ring, 12 both
};

class LineEventMonitor {
 public:
  explicit LineEventMonitor(int fd) : fd_(fd) {}
  // Finds out what the driver reports and takes the first sample. False
  // when the port itself failed (a vanished device).
  bool Start();
  bool Active() const { return mode_ != Mode::kNone; }
  // False when the port failed since.
  bool Sample(LineChanges& changes);

 private:
  enum class Mode { kNone, kCounters, kLines };
  int fd_;
  Mode mode_ = Mode::kNone;
  serial_icounter_struct counters_{};
  int lines_ = 0;
};

// An ioctl error that means the driver has no such request, as opposed
// to a port that has gone.
bool IsUnsupported(int error);

}  // namespace zek
