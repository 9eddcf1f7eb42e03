#include <chrono>
#include <thread>

#include "serial/comm_component.h"
#include "serial/message_window.h"
#include "serial/port_names.h"
#include "serial/read_thread.h"
#include "serial/serial_device.h"
#include "serial/stop_event.h"
#include "serial/write_thread.h"

namespace zek {
namespace {

constexpr std::chrono::milliseconds kThreadStopLimit{10000};
constexpr std::chrono::milliseconds kSendingPoll{1};

}  // namespace

void TComm::OpenPort() {
  if (IsOpen()) throw ECommsError("This serial port already opened");

  int error = 0;
  std::unique_ptr<SerialDevice> device = SerialDevice::Open(ResolveComName(p_.CommName), error);
  if (!device) throw ECommsError("Error opening serial port:" + p_.CommName);
  if (!device->IsTerminal()) throw ECommsError("File handle is not a comm handle ");
  // The tty's queues are the driver's own; what a driver can be asked for
  // is to hand on short replies at once.
  device->RequestLowLatency();

  PortHandle = std::move(device);
  PortHandle->Purge(kPurgeTxAbort | kPurgeRxAbort | kPurgeTxClear | kPurgeRxClear);
  ApplyTimeouts();
  ApplyCommState();

  StopEvent_ = std::make_unique<StopEvent>();
  if (!StopEvent_->Valid()) {
    StopEvent_.reset();
    PortHandle.reset();
    throw ECommsError("Unable to create event");
  }
  StartThreads();
}

void TComm::StartThreads() {
  ReadWorker = std::make_unique<TReadThread>(*PortHandle, *StopEvent_, *MessageWindow_);
  if (!ReadWorker->CreateSuspended()) {
    ReadWorker.reset();
    CloseHandles();
    throw ECommsError("Unable to create read thread");
  }
  ReadWorker->SetPriority(kPriorityHighest);

  WriteWorker = std::make_unique<TWriteThread>(*PortHandle, *StopEvent_, *MessageWindow_);
  if (!WriteWorker->CreateSuspended()) {
    StopReadThread();
    WriteWorker.reset();
    CloseHandles();
    throw ECommsError("Unable to create write thread");
  }
  WriteWorker->SetPriority(kPriorityAboveNormal);

  ReadWorker->Resume();
  WriteWorker->Resume();
}

void TComm::FinishSending(std::chrono::steady_clock::time_point deadline) {
  if (!IsOpen() || !WriteWorker) return;
  auto waiting = [&](auto busy) {
    while (busy() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(kSendingPoll);
  };
  waiting([this] { return !WriteWorker->Queue().Settled(); });
  waiting([this] { return PortHandle->OutputPending() > 0; });
  // A terminal whose far end has not read yet still counts as sent.
  if (WriteWorker->Queue().Settled() && PortHandle->OutputPending() == 0) WriteWorker->Queue().KeepWritten();
}

void TComm::ClosePort() {
  if (!IsOpen()) return;
  StopReadThread();
  StopWriteThread();
  CloseHandles();
}

void TComm::CloseHandles() {
  StopEvent_.reset();
  PortHandle.reset();
}

void TComm::StopReadThread() {
  if (!ReadWorker) return;
  StopEvent_->Set();
  PortHandle->Purge(kPurgeRxAbort | kPurgeRxClear);
  if (!ReadWorker->WaitFor(kThreadStopLimit)) ReadWorker->Terminate();
  ReadWorker->Release();
  ReadWorker.reset();
}

void TComm::StopWriteThread() {
  if (!WriteWorker) return;
  StopEvent_->Set();
  if (WriteWorker->Queue().DropAtEnd()) PortHandle->Purge(kPurgeTxAbort | kPurgeTxClear);
  if (!WriteWorker->WaitFor(kThreadStopLimit)) WriteWorker->Terminate();
  WriteWorker->Release();
  WriteWorker.reset();
}

}  // namespace zek
