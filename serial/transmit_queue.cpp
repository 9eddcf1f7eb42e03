#include "serial/transmit_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace zek {

TransmitQueue::TransmitQueue() : wake_fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TransmitQueue::~TransmitQueue() {
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

bool TransmitQueue::Post(MessageBlock block, uint16_t count) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    items_.push_back({std::move(block), count});
    ++unwritten_;
  }
  uint64_t one = 1;
  (void)!::write(wake_fd_, &one, sizeof one);
  return true;
}

std::optional<SendItem> TransmitQueue::Take() {
  std::lock_guard lock(mutex_);
  if (items_.empty()) return std::nullopt;
  SendItem item = std::move(items_.front());
  items_.pop_front();
  return item;
}

void TransmitQueue::ClearWake() {
  uint64_t count = 0;
  (void)!::read(wake_fd_, &count, sizeof count);
}

void TransmitQueue::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
}

void TransmitQueue::Written() {
  std::lock_guard lock(mutex_);
  --unwritten_;
}

bool TransmitQueue::Settled() {
  std::lock_guard lock(mutex_);
  return closed_ || unwritten_ == 0;
}

void TransmitQueue::KeepWritten() {
  std::lock_guard lock(mutex_);
  keep_written_ = true;
}

bool TransmitQueue::DropAtEnd() {
  std::lock_guard lock(mutex_);
  return !keep_written_ || unwritten_ > 0;
}

}  // namespace zek
