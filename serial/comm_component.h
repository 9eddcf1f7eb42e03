#pragma once
// TComm: one serial port of the station. Configures the port from its
// properties, runs a receive and a transmit thread on it, and raises what
// they report as events on the thread that created it (that thread must
// run a Qt event loop). Every call belongs to that thread.

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "serial/comm_port.h"
#include "serial/comm_properties.h"
#include "serial/thread_message.h"

namespace zek {

class TComm;
class MessageWindow;
class SerialDevice;
class StopEvent;
class TReadThread;
class TWriteThread;

// Buffer belongs to the component and is freed after the handler returns.
using TReceiveDataEvent = std::function<void(TComm* Sender, const uint8_t* Buffer, uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TComm* Sender, uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TComm* Sender, uint32_t ModemEvent)>;
using TNotifyEvent = std::function<void(TComm* Sender)>;
using TSendDataEmptyEvent = std::function<void(TComm* Sender)>;

class TComm : public QObject, public CommPort {
 public:
  // Closed, no threads, the properties at their defaults.
  explicit TComm(QObject* AOwner = nullptr);
  // Closes a port still open, then drops messages not yet delivered.
  ~TComm() override;

  // Opens and configures the port and starts both threads; raises
  // ECommsError with the failing step's text, leaving the port closed (or,
  // when it was already open, untouched).
  void OpenPort() override;
  // Stops both threads (each waited for up to 10 s, then until it ends)
  // and closes the port. Harmless when closed. Messages posted before it
  // are still delivered afterwards.
  void ClosePort() override;
  // Waits until the transmit thread has written every block given to it
  // and the driver has sent them, or until `deadline`. When all went out,
  // the next ClosePort leaves the written bytes to the driver (a terminal's
  // far end may not have read them yet) instead of dropping them.
  // Harmless when closed.
  void FinishSending(std::chrono::steady_clock::time_point deadline);
  // Queues a copy of the bytes for the transmit thread. False when the
  // port is closed, Length is 0, Buffer is null (nothing to copy from) or
  // nothing could be queued.
  bool SendBuffer(const uint8_t* Buffer, uint16_t Length) override;
  bool IsOpen() const override;

  // The window procedure of the hidden window: messages 1025-1029.
  void HandleThreadMessage(ThreadMessage& message);
  // Messages the threads have posted that the event loop has not yet
  // delivered (for diagnostics and tests).
  size_t QueuedThreadMessages() const;

  // Published properties. A setter does nothing when the value is the one
  // stored; else it stores it and, while open, applies the line settings
  // or the time-outs again. CommName and Parity are only stored.
  std::string CommName() const override { return p_.CommName; }
  void SetCommName(const std::string& v) override { p_.CommName = v; }
  uint32_t BaudRate() const { return p_.BaudRate; }
  void SetBaudRate(uint32_t v) { SetState(&CommProperties::BaudRate, v); }
  bool ParityCheck() const { return p_.ParityCheck; }
  void SetParityCheck(bool v) { SetState(&CommProperties::ParityCheck, v); }
  bool Outx_CtsFlow() const { return p_.Outx_CtsFlow; }
  void SetOutx_CtsFlow(bool v) { SetState(&CommProperties::Outx_CtsFlow, v); }
  bool Outx_DsrFlow() const { return p_.Outx_DsrFlow; }
  void SetOutx_DsrFlow(bool v) { SetState(&CommProperties::Outx_DsrFlow, v); }
  TDtrControl DtrControl() const { return p_.DtrControl; }
  void SetDtrControl(TDtrControl v) { SetState(&CommProperties::DtrControl, v); }
  bool DsrSensitivity() const { return p_.DsrSensitivity; }
  void SetDsrSensitivity(bool v) { SetState(&CommProperties::DsrSensitivity, v); }
  bool TxContinueOnXoff() const { return p_.TxContinueOnXoff; }
  void SetTxContinueOnXoff(bool v) { SetState(&CommProperties::TxContinueOnXoff, v); }
  bool Outx_XonXoffFlow() const { return p_.Outx_XonXoffFlow; }
  void SetOutx_XonXoffFlow(bool v) { SetState(&CommProperties::Outx_XonXoffFlow, v); }
  bool Inx_XonXoffFlow() const { return p_.Inx_XonXoffFlow; }
  void SetInx_XonXoffFlow(bool v) { SetState(&CommProperties::Inx_XonXoffFlow, v); }
  bool ReplaceWhenParityError() const { return p_.ReplaceWhenParityError; }
  void SetReplaceWhenParityError(bool v) { SetState(&CommProperties::ReplaceWhenParityError, v); }
  bool IgnoreNullChar() const { return p_.IgnoreNullChar; }
  void SetIgnoreNullChar(bool v) { SetState(&CommProperties::IgnoreNullChar, v); }
  TRtsControl RtsControl() const { return p_.RtsControl; }
  void SetRtsControl(TRtsControl v) { SetState(&CommProperties::RtsControl, v); }
  uint16_t XonLimit() const { return p_.XonLimit; }
  void SetXonLimit(uint16_t v) { SetState(&CommProperties::XonLimit, v); }
  uint16_t XoffLimit() const { return p_.XoffLimit; }
  void SetXoffLimit(uint16_t v) { SetState(&CommProperties::XoffLimit, v); }
  TByteSize ByteSize() const { return p_.ByteSize; }
  void SetByteSize(TByteSize v) { SetState(&CommProperties::ByteSize, v); }
  TParity Parity() const { return p_.Parity; }
  void SetParity(TParity v) { p_.Parity = v; }
  TStopBits StopBits() const { return p_.StopBits; }
  void SetStopBits(TStopBits v) { SetState(&CommProperties::StopBits, v); }
  char XonChar() const { return p_.XonChar; }
  void SetXonChar(char v) { SetState(&CommProperties::XonChar, v); }
  char XoffChar() const { return p_.XoffChar; }
  void SetXoffChar(char v) { SetState(&CommProperties::XoffChar, v); }
  char ReplacedChar() const { return p_.ReplacedChar; }
  void SetReplacedChar(char v) { SetState(&CommProperties::ReplacedChar, v); }
  uint32_t ReadIntervalTimeout() const { return p_.ReadIntervalTimeout; }
  void SetReadIntervalTimeout(uint32_t v) { SetTimeout(&CommProperties::ReadIntervalTimeout, v); }
  uint32_t ReadTotalTimeoutMultiplier() const { return p_.ReadTotalTimeoutMultiplier; }
  void SetReadTotalTimeoutMultiplier(uint32_t v) { SetTimeout(&CommProperties::ReadTotalTimeoutMultiplier, v); }
  uint32_t ReadTotalTimeoutConstant() const { return p_.ReadTotalTimeoutConstant; }
  void SetReadTotalTimeoutConstant(uint32_t v) { SetTimeout(&CommProperties::ReadTotalTimeoutConstant, v); }
  uint32_t WriteTotalTimeoutMultiplier() const { return p_.WriteTotalTimeoutMultiplier; }
  void SetWriteTotalTimeoutMultiplier(uint32_t v) { SetTimeout(&CommProperties::WriteTotalTimeoutMultiplier, v); }
  uint32_t WriteTotalTimeoutConstant() const { return p_.WriteTotalTimeoutConstant; }
  void SetWriteTotalTimeoutConstant(uint32_t v) { SetTimeout(&CommProperties::WriteTotalTimeoutConstant, v); }
  const CommProperties& Properties() const { return p_; }

  // Published events; an unassigned one is simply not raised.
  TReceiveDataEvent OnReceiveData;
  TReceiveErrorEvent OnReceiveError;
  TModemStateChangeEvent OnModemStateChange;
  TNotifyEvent OnRequestHangup;
  TSendDataEmptyEvent OnSendDataEmpty;

 private:
  template <typename T>
  void SetState(T CommProperties::*field, T value) {
    if (p_.*field == value) return;
    p_.*field = value;
    if (IsOpen()) ApplyCommState();
  }
  template <typename T>
  void SetTimeout(T CommProperties::*field, T value) {
    if (p_.*field == value) return;
    p_.*field = value;
    if (IsOpen()) ApplyTimeouts();
  }

  void ApplyCommState();
  void ApplyTimeouts();
  void StartThreads();
  void StopReadThread();
  void StopWriteThread();
  void CloseHandles();

  void FireReceiveData(const uint8_t* buffer, uint16_t length);
  void FireReceiveError(uint32_t mask);
  void FireModemStateChange(uint32_t event);
  void FireRequestHangup();
  void FireSendDataEmpty();

  CommProperties p_;
  std::unique_ptr<SerialDevice> PortHandle;  // null while closed
  std::unique_ptr<StopEvent> StopEvent_;
  std::unique_ptr<MessageWindow> MessageWindow_;
  std::unique_ptr<TReadThread> ReadWorker;
  std::unique_ptr<TWriteThread> WriteWorker;
};

// Gives a component the values every one of the station window's ten
// carries (1,000,000 baud 8N2, 3 ms read interval), through its setters.
void SetStationProperties(TComm& comm);

}  // namespace zek
