#pragma once
// The transmit thread's message queue: blocks to send, posted by the
// component on the owner's thread and taken by the transmit thread. A
// wake-up fd lets the thread wait on it beside the stop event.

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "serial/thread_message.h"

namespace zek {

struct SendItem {
  MessageBlock block;
  uint16_t count = 0;
};

class TransmitQueue {
 public:
  TransmitQueue();
  ~TransmitQueue();
  TransmitQueue(const TransmitQueue&) = delete;
  TransmitQueue& operator=(const TransmitQueue&) = delete;

  bool Valid() const { return wake_fd_ >= 0; }
  // False once the queue is closed (its thread has ended); the block is
  // then freed here, as nobody would ever write it.
  bool Post(MessageBlock block, uint16_t count);
  std::optional<SendItem> Take();
  int wake_fd() const { return wake_fd_; }
  // Re-arms the wake-up. Take again after it: a post that came between the
  // last Take and this call is still found.
  void ClearWake();
  // Refuses every later post. Blocks still queued are freed with the queue.
  void Close();
  // The thread has written a block it took.
  void Written();
  // Nothing posted waits to be written: every block was, or the thread has
  // ended and never will.
  bool Settled();
  // The end of the thread leaves what was written to the driver instead of
  // dropping it, unless a block posted later is left unwritten.
  void KeepWritten();
  bool DropAtEnd();

 private:
  int wake_fd_;
  std::mutex mutex_;
  std::deque<SendItem> items_;
  size_t unwritten_ = 0;  // posted, not yet written
  bool closed_ = false;
  bool keep_written_ = false;
};

}  // namespace zek
