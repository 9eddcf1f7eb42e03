#pragma once
// The port scan the station is given (see station/data/port_scanner.h): the
// machine's serial-port list, kept to the two USB families that units
// come with, and to the ports that can be had right now.

#include <string>
#include <vector>

namespace zek {

// The COM names of the FTDI ("\Device\VCP...") and Silicon Labs
// ("\Device\Silabser...") ports of ReadSerialCommMap that open exclusively
// at this moment (each is let go at once), in the map's order.
std::vector<std::string> ListUnitPorts();

}  // namespace zek
