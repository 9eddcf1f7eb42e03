#include "serial/line_termios.h"

#include <sys/ioctl.h>

#include "serial/baud_rate.h"

namespace zek {
namespace {

constexpr tcflag_t kSizeFlags[] = {CS5, CS6, CS7, CS8};

void MakeRaw(termios& t) {
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY |
                 INPCK | IGNPAR);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CREAD | CLOCAL;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

void SetParity(termios& t, uint8_t parity) {
  switch (parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
}

// A held-on line is raised, a held-off one dropped; handshake and toggle
// modes are the driver's business (CRTSCTS) or have none here.
void SetModemLine(int fd, int line, uint8_t control) {
  if (control == 1) (void)::ioctl(fd, TIOCMBIS, &line);
  if (control == 0) (void)::ioctl(fd, TIOCMBIC, &line);
}

}  // namespace

DeviceControlBlock ReadDeviceControlBlock(int fd) {
  DeviceControlBlock d;
  termios t {};
  if (::tcgetattr(fd, &t) != 0) return d;
  d.BaudRate = ReadLineBaudRate(fd);
  d.fParity = t.c_iflag & INPCK;
  d.fOutxCtsFlow = t.c_cflag & CRTSCTS;
  d.fRtsControl = (t.c_cflag & CRTSCTS) ? 2 : 0;
  d.fOutX = t.c_iflag & IXON;
  d.fInX = t.c_iflag & IXOFF;
  switch (t.c_cflag & CSIZE) {
    case CS5: d.ByteSize = 5; break;
    case CS6: d.ByteSize = 6; break;
    case CS7: d.ByteSize = 7; break;
    default: d.ByteSize = 8; break;
  }
  if (t.c_cflag & PARENB) {
    bool odd = t.c_cflag & PARODD;
    d.Parity = (t.c_cflag & CMSPAR) ? (odd ? 3 : 4) : (odd ? 1 : 2);
  }
  d.StopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
  d.XonChar = static_cast<char>(t.c_cc[VSTART]);
  d.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
  d.EofChar = static_cast<char>(t.c_cc[VEOF]);
  return d;
}

void ApplyToTermios(const DeviceControlBlock& dcb, termios& t) {
  MakeRaw(t);
  t.c_cflag |= kSizeFlags[dcb.ByteSize >= 5 && dcb.ByteSize <= 8 ? dcb.ByteSize - 5 : 3];
  SetParity(t, dcb.Parity);
  // Checking alone must leave a bad byte as it came (the error is still
  // counted); only a replacement asked for lets the driver put in its 0.
  if (dcb.fParity && dcb.fErrorChar) t.c_iflag |= INPCK;
  if (dcb.StopBits != 0) t.c_cflag |= CSTOPB;  // 1.5 is what the UART does with 5 bits
  if (dcb.fOutxCtsFlow || dcb.fRtsControl == 2) t.c_cflag |= CRTSCTS;
  if (dcb.fOutX) t.c_iflag |= IXON;
  if (dcb.fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
}

void WriteDeviceControlBlock(int fd, const DeviceControlBlock& dcb) {
  termios t {};
  if (::tcgetattr(fd, &t) != 0) return;
  ApplyToTermios(dcb, t);
  (void)::tcsetattr(fd, TCSANOW, &t);
  (void)SetLineBaudRate(fd, dcb.BaudRate);
  SetModemLine(fd, TIOCM_DTR, dcb.fDtrControl);
  SetModemLine(fd, TIOCM_RTS, dcb.fRtsControl);
}

}  // namespace zek
