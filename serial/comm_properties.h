#pragma once
// The published properties of a serial component, with the values its
// constructor gives them, and the values the station's window sets.

#include <cstdint>
#include <string>

#include "serial/comm_types.h"

namespace zek {

struct CommProperties {
  std::string CommName = "COM2";
  uint32_t BaudRate = 9600;
  bool ParityCheck = false;
  bool Outx_CtsFlow = false;
  bool Outx_DsrFlow = false;
  TDtrControl DtrControl = TDtrControl::DtrDisable;
  bool DsrSensitivity = false;
  bool TxContinueOnXoff = false;
  bool Outx_XonXoffFlow = false;
  bool Inx_XonXoffFlow = false;
  bool ReplaceWhenParityError = false;
  bool IgnoreNullChar = false;
  TRtsControl RtsControl = TRtsControl::RtsDisable;
  uint16_t XonLimit = 500;
  uint16_t XoffLimit = 500;
  TByteSize ByteSize = TByteSize::_8;
  TParity Parity = TParity::None;
  TStopBits StopBits = TStopBits::_2;
  char XonChar = 0x11;
  char XoffChar = 0x13;
  char ReplacedChar = 0x00;
  uint32_t ReadIntervalTimeout = 5;
  uint32_t ReadTotalTimeoutMultiplier = 0;
  uint32_t ReadTotalTimeoutConstant = 0;
  uint32_t WriteTotalTimeoutMultiplier = 0;
  uint32_t WriteTotalTimeoutConstant = 0;

  CommTimeouts Timeouts() const {
    return {ReadIntervalTimeout, ReadTotalTimeoutMultiplier, ReadTotalTimeoutConstant,
            WriteTotalTimeoutMultiplier, WriteTotalTimeoutConstant};
  }
};

// What each of the station window's ten components carries: 1,000,000
// baud 8N2, no flow control, DTR and RTS off, a read ending after 3 ms of
// line silence, no total time-outs.
inline CommProperties StationCommProperties() {
  CommProperties p;
  p.BaudRate = 1000000;
  p.XonLimit = 10;
  p.XoffLimit = 10;
  p.XonChar = '0';
  p.XoffChar = '0';
  p.ReadIntervalTimeout = 3;
  return p;
}

}  // namespace zek
