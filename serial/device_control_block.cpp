#include "serial/device_control_block.h"

namespace zek {
namespace {

uint8_t DtrCode(TDtrControl c) {
  switch (c) {
    case TDtrControl::DtrEnable: return 1;
    case TDtrControl::DtrDisable: return 0;
    case TDtrControl::DtrHandshake: return 2;
  }
  return 0;
}

uint8_t RtsCode(TRtsControl c) {
  switch (c) {
    case TRtsControl::RtsEnable: return 1;
    case TRtsControl::RtsDisable: return 0;
    case TRtsControl::RtsHandshake: return 2;
    case TRtsControl::RtsTransmissionAvailable: return 3;
  }
  return 0;
}

}  // namespace

DeviceControlBlock BuildDeviceControlBlock(const CommProperties& p, const DeviceControlBlock& driver) {
  DeviceControlBlock d;
  d.BaudRate = p.BaudRate;
  d.fBinary = true;
  d.fParity = p.ParityCheck;
  d.fOutxCtsFlow = p.Outx_CtsFlow;
  d.fOutxDsrFlow = p.Outx_DsrFlow;
  d.fDtrControl = DtrCode(p.DtrControl);
  d.fDsrSensitivity = p.DsrSensitivity;
  d.fTXContinueOnXoff = p.TxContinueOnXoff;
  d.fOutX = p.Outx_XonXoffFlow;
  d.fInX = p.Inx_XonXoffFlow;
  d.fErrorChar = p.ReplaceWhenParityError;
  d.fNull = p.IgnoreNullChar;
  d.fRtsControl = RtsCode(p.RtsControl);
  d.fAbortOnError = false;
  d.XonLim = p.XonLimit;
  d.XoffLim = p.XoffLimit;
  d.ByteSize = static_cast<uint8_t>(static_cast<uint8_t>(p.ByteSize) + 5);
  d.Parity = static_cast<uint8_t>(p.Parity);
  d.StopBits = static_cast<uint8_t>(p.StopBits);
  d.XonChar = p.XonChar;
  d.XoffChar = p.XoffChar;
  d.ErrorChar = p.ReplacedChar;
  d.EofChar = driver.EofChar;
  d.EvtChar = driver.EvtChar;
  return d;
}

}  // namespace zek
