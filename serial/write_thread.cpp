#include "serial/write_thread.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "serial/port_wait.h"

namespace zek {

void TWriteThread::Execute() {
  if (!queue_.Valid()) {
    PostWriterHangup();
  } else {
    IdleNotifyPending = true;
    for (;;) {
      std::optional<SendItem> item = queue_.Take();
      if (!item) {
        queue_.ClearWake();
        item = queue_.Take();
      }
      if (!item) {
        if (WaitForWork() == Step::kEnd) break;
        continue;
      }
      if (stop_.IsSet()) break;  // the block is freed unwritten
      bool written = WriteBlock(item->block.get(), item->count);
      item->block.reset();
      if (!written) break;
      queue_.Written();
      IdleNotifyPending = true;
    }
  }
  const bool drop = queue_.DropAtEnd();
  queue_.Close();
  if (drop) port_.Purge(kPurgeTxAbort | kPurgeTxClear);
}

TWriteThread::Step TWriteThread::WaitForWork() {
  if (IdleNotifyPending) {
    if (!window_.Post({kMsgSendDataEmpty, 0, 0, nullptr})) {
      PostWriterHangup();
      return Step::kEnd;
    }
    IdleNotifyPending = false;
  }
  switch (WaitOn({stop_.fd(), -1, 0, queue_.wake_fd()}, -1)) {
    case WaitResult::kStop: return Step::kEnd;
    case WaitResult::kOther: return Step::kGoOn;
    default:
      PostWriterHangup();
      return Step::kEnd;
  }
}

bool TWriteThread::WriteBlock(const uint8_t* block, size_t count) {
  size_t offset = 0;
  while (offset < count) {
    ssize_t n = ::write(port_.fd(), block + offset, count - offset);
    if (n > 0) {
      offset += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EBADF) return false;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      PostWriterHangup();
      return false;
    }
    // The driver holds no more for now: wait for room, or for the stop.
    switch (WaitOn({stop_.fd(), port_.fd(), POLLOUT, -1}, -1)) {
      case WaitResult::kPort: break;
      case WaitResult::kStop:
      case WaitResult::kInvalid: return false;
      default:
        PostWriterHangup();
        return false;
    }
  }
  return true;
}

void TWriteThread::PostWriterHangup() { (void)window_.Post({kMsgRequestHangup, 0, 0, nullptr}); }

}  // namespace zek
