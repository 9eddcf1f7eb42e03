#pragma once
// The receive thread of an open port: reads the port in chunks and posts
// each to the component's message window, with line errors, modem-line
// changes and, when the port fails, a hang-up request. It never touches
// anything but the port, the stop event and the window it was given.

#include <array>
#include <chrono>
#include <cstdint>

#include "serial/line_events.h"
#include "serial/serial_device.h"
#include "serial/stop_event.h"
#include "serial/thread_message.h"
#include "serial/worker_thread.h"

namespace zek {

inline constexpr size_t kReadBufferSize = 2048;

class TReadThread : public WorkerThread {
 public:
  TReadThread(const SerialDevice& port, const StopEvent& stop, MessagePoster& window)
      : port_(port), stop_(stop), window_(window) {}

 protected:
  // Runs until the stop event is set or the port fails, then purges the
  // input side.
  void Execute() override;

 private:
  using Clock = std::chrono::steady_clock;
  // kHangup: the port failed and nothing has been posted about it yet.
  enum class Step { kGoOn, kEnd, kHangup };

  // One chunk: ends after the interval time-out of line silence, at 2048
  // bytes, or at the total time-out; posts it when it holds bytes. Returns
  // kGoOn or kEnd.
  Step ReadChunk(LineEventMonitor& monitor);
  Step ReadAvailable(size_t& count);
  Step SampleLineEvents(LineEventMonitor& monitor);
  Step PostReceivedChunk(size_t count);
  // Posts the `count` bytes held, then the hang-up request; returns kEnd.
  Step HangUp(size_t count);
  int WaitLimit(size_t count, Clock::time_point last_byte, Clock::time_point total_end) const;
  void PostHangupMessage();

  const SerialDevice& port_;
  const StopEvent& stop_;
  MessagePoster& window_;
  CommTimeouts timeouts_;  // taken afresh for every chunk
  Clock::time_point next_sample_ = Clock::time_point::max();
  std::array<uint8_t, kReadBufferSize> buffer_{};
};

}  // namespace zek
