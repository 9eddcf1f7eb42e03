#include "serial/read_thread.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "serial/port_wait.h"

namespace zek {
namespace {

using Clock = std::chrono::steady_clock;
constexpr Clock::time_point kNever = Clock::time_point::max();
// All-ones time-outs times 2048 would overflow the clock; a few decades is
// as good as for ever.
constexpr uint64_t kLongestWaitMs = 1'000'000'000'000;

int MillisecondsUntil(Clock::time_point when, Clock::time_point now) {
  if (when == kNever) return -1;
  if (when <= now) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
  return static_cast<int>(std::min<int64_t>(ms, 1 << 30));
}

}  // namespace

void TReadThread::Execute() {
  LineEventMonitor monitor(port_.fd());
  if (!monitor.Start()) {
    PostHangupMessage();
  } else {
    next_sample_ = monitor.Active() ? Clock::now() + std::chrono::milliseconds(kLineSampleMs) : kNever;
    while (ReadChunk(monitor) == Step::kGoOn) {
    }
  }
  port_.Purge(kPurgeRxAbort | kPurgeRxClear);
}

TReadThread::Step TReadThread::ReadChunk(LineEventMonitor& monitor) {
  timeouts_ = port_.GetCommTimeouts();
  const Clock::time_point start = Clock::now();
  uint64_t total_ms = uint64_t{timeouts_.ReadTotalTimeoutMultiplier} * kReadBufferSize +
                      timeouts_.ReadTotalTimeoutConstant;
  total_ms = std::min<uint64_t>(total_ms, kLongestWaitMs);
  const Clock::time_point total_end = total_ms ? start + std::chrono::milliseconds(total_ms) : kNever;
  Clock::time_point last_byte = start;
  size_t count = 0;

  for (;;) {
    int limit = WaitLimit(count, last_byte, total_end);
    switch (WaitOn({stop_.fd(), port_.fd(), POLLIN, -1}, limit)) {
      case WaitResult::kStop:
      case WaitResult::kInvalid:
        return Step::kEnd;
      case WaitResult::kHangup:
      case WaitResult::kFailed:
      case WaitResult::kOther:
        return HangUp(count);
      case WaitResult::kPort:
        // A time-out changed while the line was idle counts from this byte on.
        if (count == 0) timeouts_ = port_.GetCommTimeouts();
        if (Step step = ReadAvailable(count); step != Step::kGoOn) return step == Step::kHangup ? HangUp(count) : step;
        last_byte = Clock::now();
        if (count == kReadBufferSize || timeouts_.ReadIntervalTimeout == kReadWithoutInterval) {
          return PostReceivedChunk(count);
        }
        break;
      case WaitResult::kTimeout:
        break;
    }
    const Clock::time_point now = Clock::now();
    if (now >= next_sample_) {
      if (Step step = SampleLineEvents(monitor); step != Step::kGoOn) return step == Step::kHangup ? HangUp(count) : step;
      next_sample_ = now + std::chrono::milliseconds(kLineSampleMs);
    }
    bool interval_over = count > 0 && timeouts_.ReadIntervalTimeout != 0 &&
                         now >= last_byte + std::chrono::milliseconds(timeouts_.ReadIntervalTimeout);
    if (interval_over || now >= total_end) return PostReceivedChunk(count);
  }
}

int TReadThread::WaitLimit(size_t count, Clock::time_point last_byte, Clock::time_point total_end) const {
  Clock::time_point until = std::min(total_end, next_sample_);
  if (count > 0 && timeouts_.ReadIntervalTimeout != 0) {
    until = std::min(until, last_byte + std::chrono::milliseconds(timeouts_.ReadIntervalTimeout));
  }
  return MillisecondsUntil(until, Clock::now());
}

// Poll said readable. A read of zero bytes then means the far end has
// gone, as does EIO: both are failures (kHangup), never a quiet spell.
TReadThread::Step TReadThread::ReadAvailable(size_t& count) {
  ssize_t n;
  do {
    n = ::read(port_.fd(), buffer_.data() + count, kReadBufferSize - count);
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    count += static_cast<size_t>(n);
    return Step::kGoOn;
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Step::kGoOn;
  if (n < 0 && errno == EBADF) return Step::kEnd;
  return Step::kHangup;
}

TReadThread::Step TReadThread::SampleLineEvents(LineEventMonitor& monitor) {
  LineChanges changes;
  if (!monitor.Sample(changes)) return errno == EBADF ? Step::kEnd : Step::kHangup;
  if (changes.errors != 0 && !window_.Post({kMsgReceiveError, 0, changes.errors, nullptr})) return Step::kHangup;
  if (changes.modem != 0 && !window_.Post({kMsgModemState, 0, changes.modem, nullptr})) return Step::kHangup;
  return Step::kGoOn;
}

// The bytes that arrived before the port failed (a last reply, an OK/NG
// report of a pulled adapter) go out first, then the hang-up request.
TReadThread::Step TReadThread::HangUp(size_t count) {
  if (PostReceivedChunk(count) == Step::kGoOn) PostHangupMessage();
  return Step::kEnd;
}

// A chunk without bytes (a total time-out) posts nothing; the thread goes
// on reading.
TReadThread::Step TReadThread::PostReceivedChunk(size_t count) {
  if (count == 0) return Step::kGoOn;
  MessageBlock block = AllocateBlock(count);
  if (!block) {
    PostHangupMessage();
    return Step::kEnd;
  }
  std::memcpy(block.get(), buffer_.data(), count);
  uintptr_t address = reinterpret_cast<uintptr_t>(block.get());
  if (!window_.Post({kMsgReceiveData, count, address, std::move(block)})) {
    PostHangupMessage();
    return Step::kEnd;
  }
  return Step::kGoOn;
}

void TReadThread::PostHangupMessage() { (void)window_.Post({kMsgRequestHangup, 0, 0, nullptr}); }

}  // namespace zek
