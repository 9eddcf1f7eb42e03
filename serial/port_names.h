#pragma once
// The station keeps the names COMn for its ports (in ConfigZEK.ini, the
// port list and the logs); these turn them into Linux devices and back.
// Standard library only.

#include <string>

namespace zek {

// The device a port name stands for:
//   a name starting with '/' is a device path as it stands;
//   else $ZEK_COM_DIR/<name> when that entry exists (a link to a device);
//   else the default numbering COM1-32 -> /dev/ttyS0-31,
//   COM33-64 -> /dev/ttyUSB0-31, COM65-96 -> /dev/ttyACM0-31.
// Empty when the name stands for no device.
std::string ResolveComName(const std::string& name);

// The default-numbering COM name of a tty ("ttyUSB3" -> "COM36"); empty
// for a tty outside the numbering.
std::string DefaultComName(const std::string& tty);

// $ZEK_COM_DIR, or empty when it is unset.
std::string ComLinkDir();

}  // namespace zek
