#include "serial/exclusive_open.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace zek {

OpenResult OpenExclusive(const std::string& device) {
  if (device.empty()) return {-1, ENOENT};
  int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {-1, errno};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    return {-1, error == EWOULDBLOCK ? EBUSY : error};
  }
  // Root opens a tty despite another holder's TIOCEXCL, so the flag is
  // asked first. A file that is no tty refuses both ioctls; the caller
  // tells that case apart itself, so it is no open failure here.
  int held = 0;
  if (::ioctl(fd, TIOCGEXCL, &held) == 0 && held != 0) {
    ::close(fd);
    return {-1, EBUSY};
  }
  (void)::ioctl(fd, TIOCEXCL);
  return {fd, 0};
}

void CloseExclusive(int fd) {
  if (fd < 0) return;
  // The flag stays on the tty while anyone else holds it open, so it is
  // cleared before letting go, else the next open of ours would be refused.
  (void)::ioctl(fd, TIOCNXCL);
  ::close(fd);
}

}  // namespace zek
