#include "serial/line_events.h"

#include <sys/ioctl.h>

#include <cerrno>

namespace zek {

bool IsUnsupported(int error) {
  return error == ENOTTY || error == EINVAL || error == ENOTSUP || error == ENOSYS;
}

bool LineEventMonitor::Start() {
  if (::ioctl(fd_, TIOCGICOUNT, &counters_) == 0) {
    mode_ = Mode::kCounters;
    return true;
  }
  if (!IsUnsupported(errno)) return false;
  if (::ioctl(fd_, TIOCMGET, &lines_) == 0) {
    mode_ = Mode::kLines;
    return true;
  }
  if (!IsUnsupported(errno)) return false;
  mode_ = Mode::kNone;
  return true;
}

bool LineEventMonitor::Sample(LineChanges& changes) {
  changes = {};
  if (mode_ == Mode::kCounters) {
    serial_icounter_struct now {};
    if (::ioctl(fd_, TIOCGICOUNT, &now) != 0) return false;
    const serial_icounter_struct& was = counters_;
    if (now.buf_overrun != was.buf_overrun) changes.errors |= kLineRxOver;
    if (now.overrun != was.overrun) changes.errors |= kLineOverrun;
    if (now.parity != was.parity) changes.errors |= kLineParity;
    if (now.frame != was.frame) changes.errors |= kLineFrame;
    if (now.brk != was.brk) changes.errors |= kLineBreak;
    if (now.dcd != was.dcd) changes.modem |= 8;
    if (now.rng != was.rng) changes.modem |= 4;
    counters_ = now;
  } else if (mode_ == Mode::kLines) {
    int now = 0;
    if (::ioctl(fd_, TIOCMGET, &now) != 0) return false;
    int changed = now ^ lines_;
    if (changed & TIOCM_CAR) changes.modem |= 8;
    if ((changed & TIOCM_RNG) && (now & TIOCM_RNG)) changes.modem |= 4;
    lines_ = now;
  }
  return true;
}

}  // namespace zek
