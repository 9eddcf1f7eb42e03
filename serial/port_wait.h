#pragma once
// The workers' one wait: the stop event first, then the port, then an
// optional third fd (the transmit queue's wake-up), as poll() reports them.

namespace zek {

enum class WaitResult {
  kStop,     // the stop event is set (it wins over everything else)
  kPort,     // the port is ready for what was asked
  kHangup,   // the port reports POLLHUP or POLLERR and nothing to do
  kInvalid,  // the port fd is not open (POLLNVAL)
  kOther,    // the third fd is readable
  kTimeout,
  kFailed,   // poll itself failed
};

struct WaitSet {
  int stop_fd = -1;
  int port_fd = -1;
  short port_events = 0;  // POLLIN or POLLOUT; 0 leaves the port out
  int other_fd = -1;      // -1 for none
};

// Waits up to `timeout_ms` (-1: no limit). A port both ready and hung up
// reports kPort, so bytes that arrived before a hang-up are still read.
WaitResult WaitOn(const WaitSet& set, int timeout_ms);

}  // namespace zek
