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

LineChanges CompareCounters(const serial_icounter_struct& was, const serial_icounter_struct& now,
                            uint32_t& pending) {
  LineChanges changes;
  if (now.buf_overrun != was.buf_overrun) pending |= kLineRxOver;
  if (now.overrun != was.overrun) pending |= kLineOverrun;
  if (now.parity != was.parity) pending |= kLineParity;
  if (now.frame != was.frame) pending |= kLineFrame;
  if (now.brk != was.brk) pending |= kLineBreak;
  if (pending & kLineStatusErrors) {
    changes.errors = pending;
    pending = 0;
  }
  if (now.dcd != was.dcd) changes.modem |= 8;
  if (now.rng != was.rng) changes.modem |= 4;
  return changes;
}

LineChanges CompareLines(int was, int now) {
  LineChanges changes;
  int changed = now ^ was;
  if (changed & TIOCM_CAR) changes.modem |= 8;
  if ((changed & TIOCM_RNG) && (now & TIOCM_RNG)) changes.modem |= 4;
  return changes;
}

bool LineEventMonitor::Sample(LineChanges& changes) {
  changes = {};
  if (mode_ == Mode::kCounters) {
    serial_icounter_struct now {};
    if (::ioctl(fd_, TIOCGICOUNT, &now) != 0) return false;
    changes = CompareCounters(counters_, now, pending_errors_);
    counters_ = now;
  } else if (mode_ == Mode::kLines) {
    int now = 0;
    if (::ioctl(fd_, TIOCMGET, &now) != 0) return false;
    changes = CompareLines(lines_, now);
    lines_ = now;
  }
  return true;
}

}  // namespace zek
