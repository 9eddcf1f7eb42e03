#include "serial/serial_device.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "serial/exclusive_open.h"
#include "serial/line_termios.h"

namespace zek {

std::unique_ptr<SerialDevice> SerialDevice::Open(const std::string& device, int& error) {
  OpenResult r = OpenExclusive(device);
  error = r.error;
  if (r.fd < 0) return nullptr;
  return std::unique_ptr<SerialDevice>(new SerialDevice(r.fd));
}

SerialDevice::~SerialDevice() { CloseExclusive(fd_); }

bool SerialDevice::IsTerminal() const { return ::isatty(fd_) == 1; }

void SerialDevice::RequestLowLatency() const {
  serial_struct info {};
  if (::ioctl(fd_, TIOCGSERIAL, &info) != 0) return;
  if (info.flags & ASYNC_LOW_LATENCY) return;
  info.flags |= ASYNC_LOW_LATENCY;
  (void)::ioctl(fd_, TIOCSSERIAL, &info);
}

void SerialDevice::Purge(int flags) const {
  bool rx = flags & kPurgeRxClear, tx = flags & kPurgeTxClear;
  if (rx && tx) {
    (void)::tcflush(fd_, TCIOFLUSH);
  } else if (rx) {
    (void)::tcflush(fd_, TCIFLUSH);
  } else if (tx) {
    (void)::tcflush(fd_, TCOFLUSH);
  }
}

int SerialDevice::OutputPending() const {
  int n = 0;
  return ::ioctl(fd_, TIOCOUTQ, &n) == 0 ? n : 0;
}

DeviceControlBlock SerialDevice::GetCommState() const { return ReadDeviceControlBlock(fd_); }

void SerialDevice::SetCommState(const DeviceControlBlock& dcb) const { WriteDeviceControlBlock(fd_, dcb); }

void SerialDevice::SetCommTimeouts(const CommTimeouts& timeouts) {
  std::lock_guard lock(timeouts_mutex_);
  timeouts_ = timeouts;
}

CommTimeouts SerialDevice::GetCommTimeouts() const {
  std::lock_guard lock(timeouts_mutex_);
  return timeouts_;
}

}  // namespace zek
