#pragma once
// What the station logic needs of a serial port: the slot's TComm, or a
// fake in tests. Calls come from the main thread only.

#include <cstdint>
#include <string>

namespace zek {

class CommPort {
 public:
  virtual ~CommPort() = default;
  // Opens and configures the port; raises ECommsError on failure.
  virtual void OpenPort() = 0;
  // Closes the port; harmless when it is closed.
  virtual void ClosePort() = 0;
  // Queues a copy of the bytes for sending; false when nothing was queued
  // (length 0 or port closed).
  virtual bool SendBuffer(const uint8_t* buffer, uint16_t length) = 0;
  virtual std::string CommName() const = 0;
  virtual void SetCommName(const std::string& name) = 0;
  virtual bool IsOpen() const = 0;
};

}  // namespace zek
