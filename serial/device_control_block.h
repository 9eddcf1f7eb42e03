#pragma once
// The port's device control block: the line settings as the driver holds
// them. The component rebuilds it from its properties; the POSIX layer
// turns it into termios and modem-line requests.

#include <cstdint>

#include "serial/comm_properties.h"

namespace zek {

struct DeviceControlBlock {
  uint32_t BaudRate = 9600;
  // The flag word.
  bool fBinary = true;
  bool fParity = false;
  bool fOutxCtsFlow = false;
  bool fOutxDsrFlow = false;
  uint8_t fDtrControl = 0;  // 0 off, 1 on, 2 handshake
  bool fDsrSensitivity = false;
  bool fTXContinueOnXoff = false;
  bool fOutX = false;
  bool fInX = false;
  bool fErrorChar = false;
  bool fNull = false;
  uint8_t fRtsControl = 0;  // 0 off, 1 on, 2 handshake, 3 toggle
  bool fAbortOnError = false;
  uint16_t XonLim = 0;
  uint16_t XoffLim = 0;
  uint8_t ByteSize = 8;  // 5-8
  uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  char XonChar = 0x11;
  char XoffChar = 0x13;
  char ErrorChar = 0;
  char EofChar = 0;  // kept as the driver reports it
  char EvtChar = 0;  // kept as the driver reports it
  friend bool operator==(const DeviceControlBlock&, const DeviceControlBlock&) = default;
};

// `driver` with every field the properties own replaced; the flag word is
// rebuilt from zero, EofChar and EvtChar keep the driver's values.
DeviceControlBlock BuildDeviceControlBlock(const CommProperties& p, const DeviceControlBlock& driver);

}  // namespace zek
