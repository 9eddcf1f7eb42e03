#include "serial/comm_component.h"

#include <cstring>

#include "serial/device_control_block.h"
#include "serial/message_window.h"
#include "serial/read_thread.h"
#include "serial/serial_device.h"
#include "serial/stop_event.h"
#include "serial/write_thread.h"

namespace zek {

TComm::TComm(QObject* AOwner)
    : QObject(AOwner),
      MessageWindow_(std::make_unique<MessageWindow>([this](ThreadMessage& m) { HandleThreadMessage(m); })) {}

TComm::~TComm() {
  ClosePort();
  MessageWindow_.reset();
}

size_t TComm::QueuedThreadMessages() const { return MessageWindow_->Queued(); }

bool TComm::IsOpen() const { return PortHandle != nullptr; }

bool TComm::SendBuffer(const uint8_t* Buffer, uint16_t Length) {
  if (!WriteWorker || Length == 0 || Buffer == nullptr) return false;
  MessageBlock block = AllocateBlock(Length);
  if (!block) return false;
  std::memcpy(block.get(), Buffer, Length);
  return WriteWorker->Queue().Post(std::move(block), Length);
}

void TComm::ApplyCommState() {
  PortHandle->SetCommState(BuildDeviceControlBlock(p_, PortHandle->GetCommState()));
}

void TComm::ApplyTimeouts() { PortHandle->SetCommTimeouts(p_.Timeouts()); }

void TComm::HandleThreadMessage(ThreadMessage& message) {
  switch (message.message) {
    case kMsgReceiveData:
      FireReceiveData(message.block.get(), static_cast<uint16_t>(message.wParam));
      message.block.reset();
      break;
    case kMsgReceiveError: FireReceiveError(static_cast<uint32_t>(message.lParam)); break;
    case kMsgRequestHangup: FireRequestHangup(); break;
    case kMsgModemState: FireModemStateChange(static_cast<uint32_t>(message.lParam)); break;
    case kMsgSendDataEmpty: FireSendDataEmpty(); break;
    default: break;
  }
}

void TComm::FireReceiveData(const uint8_t* buffer, uint16_t length) {
  if (OnReceiveData) OnReceiveData(this, buffer, length);
}

void TComm::FireReceiveError(uint32_t mask) {
  if (OnReceiveError) OnReceiveError(this, mask);
}

void TComm::FireModemStateChange(uint32_t event) {
  if (OnModemStateChange) OnModemStateChange(this, event);
}

void TComm::FireRequestHangup() {
  if (OnRequestHangup) OnRequestHangup(this);
}

void TComm::FireSendDataEmpty() {
  if (OnSendDataEmpty) OnSendDataEmpty(this);
}

void SetStationProperties(TComm& comm) {
  const CommProperties s = StationCommProperties();
  comm.SetCommName(s.CommName);
  comm.SetBaudRate(s.BaudRate);
  comm.SetXonLimit(s.XonLimit);
  comm.SetXoffLimit(s.XoffLimit);
  comm.SetXonChar(s.XonChar);
  comm.SetXoffChar(s.XoffChar);
  comm.SetReadIntervalTimeout(s.ReadIntervalTimeout);
}

}  // namespace zek
