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

 private:
  int wake_fd_;
  std::mutex mutex_;
  std::deque<SendItem> items_;
  bool closed_ = false;
};

}  // namespace zek
