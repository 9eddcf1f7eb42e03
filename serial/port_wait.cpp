#include "serial/port_wait.h"

#include <poll.h>

#include <cerrno>

namespace zek {

WaitResult WaitOn(const WaitSet& set, int timeout_ms) {
  pollfd fds[3] = {{set.stop_fd, POLLIN, 0},
                   {set.port_events ? set.port_fd : -1, set.port_events, 0},
                   {set.other_fd, POLLIN, 0}};
  int n;
  do {
    n = ::poll(fds, 3, timeout_ms);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return WaitResult::kFailed;
  if (n == 0) return WaitResult::kTimeout;
  if (fds[0].revents) return WaitResult::kStop;
  short port = fds[1].revents;
  if (port & POLLNVAL) return WaitResult::kInvalid;
  if (port & set.port_events) return WaitResult::kPort;
  if (port & (POLLHUP | POLLERR)) return WaitResult::kHangup;
  if (fds[2].revents) return WaitResult::kOther;
  return WaitResult::kFailed;
}

}  // namespace zek
