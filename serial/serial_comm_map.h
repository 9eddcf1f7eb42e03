#pragma once
// The machine's list of serial ports, read from sysfs in the shape of the
// Windows registry's serial-port map: one value per tty that has a driver,
// its name telling the driver family, its text the port's COM name.

#include <string>
#include <vector>

namespace zek {

struct SerialCommValue {
  std::string name;      // "\Device\VCP0" (ftdi_sio), "\Device\Silabser0" (cp210x), ...
  std::string com_name;  // "COM7"
};

// Every tty under $ZEK_SYSFS_ROOT/class/tty (default /sys) with a driver,
// in the order of their tty names (ttyUSB2 before ttyUSB10). The COM name
// is the $ZEK_COM_DIR link that leads to the same device, else the default
// numbering, else the device path. A missing folder gives an empty list.
std::vector<SerialCommValue> ReadSerialCommMap();

}  // namespace zek
