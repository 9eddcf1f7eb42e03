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
// The line-status errors that raise the error event; a break or a full
// input buffer alone does not, but is reported with the next one.
inline constexpr uint32_t kLineStatusErrors = kLineOverrun | kLineParity | kLineFrame;

// How often a port that has them is sampled.
inline constexpr int kLineSampleMs = 20;

struct LineChanges {
  uint32_t errors = 0;  // line-error flags to report; 0 for no error event
  uint32_t modem = 0;   // 8 carrier changed, 4 ring, 12 both
};

// Two samples of the driver's counters compared. `pending` holds error
// flags that rose without a line-status error, as the platform's error
// word keeps them until an error event clears it.
LineChanges CompareCounters(const serial_icounter_struct& was, const serial_icounter_struct& now,
                            uint32_t& pending);
// Two samples of the modem lines compared: carrier either way, ring as it
// rises.
LineChanges CompareLines(int was, int now);

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
  uint32_t pending_errors_ = 0;
  int lines_ = 0;
};

// An ioctl error that means the driver has no such request, as opposed
// to a port that has gone.
bool IsUnsupported(int error);

}  // namespace zek
