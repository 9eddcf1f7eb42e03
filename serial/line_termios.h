#pragma once
// The device control block on a Linux tty: termios in raw mode plus the
// DTR and RTS lines. Fields a driver cannot take are ignored, as the
// component ignores the result of applying them.

#include <termios.h>

#include "serial/device_control_block.h"

namespace zek {

// What the driver holds now, in the block's terms.
DeviceControlBlock ReadDeviceControlBlock(int fd);

// Applies the block: raw 8-bit-clean line, size, parity (mark and space
// through CMSPAR), stop bits, CTS/RTS and XON/XOFF flow, the XON/XOFF
// characters, the rate, and DTR/RTS held on or off. A byte with a parity
// error is replaced only when checking and replacement are both asked for,
// and then by 0 whatever the replacement character. The DSR, null-strip
// and limit fields have no Linux counterpart and are ignored.
void WriteDeviceControlBlock(int fd, const DeviceControlBlock& dcb);

// The termios part of the above, on what the driver reported. The rate
// is set apart, through the kernel's termios2.
void ApplyToTermios(const DeviceControlBlock& dcb, termios& t);

}  // namespace zek
