#pragma once
// The transmit thread of an open port: takes blocks from its queue and
// writes each whole, continuing partial writes; tells the component when
// it finds the queue empty (once at start and once after each written
// block), and asks for a hang-up when the port fails.

#include <cstdint>

#include "serial/serial_device.h"
#include "serial/stop_event.h"
#include "serial/thread_message.h"
#include "serial/transmit_queue.h"
#include "serial/worker_thread.h"

namespace zek {

class TWriteThread : public WorkerThread {
 public:
  TWriteThread(const SerialDevice& port, const StopEvent& stop, MessagePoster& window)
      : port_(port), stop_(stop), window_(window) {}

  // The component posts here from the owner's thread.
  TransmitQueue& Queue() { return queue_; }

 protected:
  // Runs until the stop event is set or the port fails, then closes the
  // queue and purges the output side (unless the queue keeps what was
  // written).
  void Execute() override;

 private:
  enum class Step { kGoOn, kEnd };
  Step WaitForWork();
  // False when the thread is to end; a stop during the write ends it
  // without a message.
  bool WriteBlock(const uint8_t* block, size_t count);
  void PostWriterHangup();

  const SerialDevice& port_;
  const StopEvent& stop_;
  MessagePoster& window_;
  TransmitQueue queue_;
  bool IdleNotifyPending = true;
};

}  // namespace zek
