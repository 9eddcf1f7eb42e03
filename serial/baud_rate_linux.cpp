// Kernel termios2 only: no glibc <termios.h> in this file.
#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <cstddef>

#include "serial/baud_rate.h"

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace zek {
namespace {

struct StandardRate {
  uint32_t baud;
  tcflag_t code;
};

// Columns: rate, its Bnnn code. Rates listed here keep their code, so
// tools reading the line with plain termios (stty) see the true rate.
constexpr StandardRate kStandardRates[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

tcflag_t CodeFor(uint32_t baud) {
  for (const auto& rate : kStandardRates) {
    if (rate.baud == baud) return rate.code;
  }
  return BOTHER;
}

}  // namespace

bool SetLineBaudRate(int fd, uint32_t baud) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  tcflag_t code = CodeFor(baud);
  t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= code;  // the input rate follows the output rate
  t.c_ispeed = baud;
  t.c_ospeed = baud;
  return ioctl(fd, TCSETS2, &t) == 0;
}

uint32_t ReadLineBaudRate(int fd) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return 0;
  return t.c_ospeed;
}

}  // namespace zek
