#include "serial/stop_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace zek {

StopEvent::StopEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopEvent::~StopEvent() {
  if (fd_ >= 0) ::close(fd_);
}

void StopEvent::Set() const {
  uint64_t one = 1;
  // Never read, so the counter only grows and the fd stays readable.
  (void)!::write(fd_, &one, sizeof one);
}

bool StopEvent::IsSet() const {
  pollfd p{fd_, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

}  // namespace zek
