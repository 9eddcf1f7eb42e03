#pragma once
// An open port: the component's PortHandle. Its workers get a reference
// to it before they start and it outlives them. The time-outs are the only
// part that changes while the workers run, so they sit behind a lock.

#include <memory>
#include <mutex>
#include <string>

#include "serial/comm_types.h"
#include "serial/device_control_block.h"

namespace zek {

// Purge flags, as the component names them.
inline constexpr int kPurgeTxAbort = 1;
inline constexpr int kPurgeRxAbort = 2;
inline constexpr int kPurgeTxClear = 4;
inline constexpr int kPurgeRxClear = 8;

class SerialDevice {
 public:
  // Opens `device` exclusively; null with `error` set on failure.
  static std::unique_ptr<SerialDevice> Open(const std::string& device, int& error);
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  int fd() const { return fd_; }
  bool IsTerminal() const;
  // Asks a USB adapter to pass short replies on at once rather than after
  // its latency timer; drivers that refuse are left as they are.
  void RequestLowLatency() const;
  // Drops what the driver holds in the cleared directions. The abort flags
  // need nothing here: the workers give up pending work on the stop event.
  void Purge(int flags) const;
  // Bytes written that the driver has not sent yet.
  int OutputPending() const;

  DeviceControlBlock GetCommState() const;
  void SetCommState(const DeviceControlBlock& dcb) const;
  void SetCommTimeouts(const CommTimeouts& timeouts);
  CommTimeouts GetCommTimeouts() const;

 private:
  explicit SerialDevice(int fd) : fd_(fd) {}
  int fd_;
  mutable std::mutex timeouts_mutex_;
  CommTimeouts timeouts_;
};

}  // namespace zek
