#pragma once
// Any baud rate on a Linux tty, 1,000,000 included. The kernel's termios2
// declarations clash with glibc's termios, so they live in a file of their
// own (baud_rate_linux.cpp) behind these two calls.

#include <cstdint>

namespace zek {

// Sets both directions to `baud`: a standard rate by its Bnnn code, any
// other through BOTHER. False when the driver refuses.
bool SetLineBaudRate(int fd, uint32_t baud);

// The output rate the driver holds; 0 when it cannot be read.
uint32_t ReadLineBaudRate(int fd);

}  // namespace zek
