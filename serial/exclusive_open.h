#pragma once
// Opening a port the way the station holds it: read and write, no
// controlling terminal, non-blocking, and exclusive: TIOCEXCL keeps other
// openers out (root excepted), and an flock() lock makes it hold against
// root and against a second opener in the same program too.

#include <string>

namespace zek {

struct OpenResult {
  int fd = -1;     // -1 on failure
  int error = 0;   // errno of the failing step
};

// Opens `device` exclusively. A device that another holder keeps open
// fails with EBUSY (or EWOULDBLOCK from the lock); the fd is closed then.
OpenResult OpenExclusive(const std::string& device);

// Gives up the exclusive hold and closes the fd; harmless on -1.
void CloseExclusive(int fd);

}  // namespace zek
