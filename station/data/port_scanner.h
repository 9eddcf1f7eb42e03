#pragma once
// How the station learns which serial ports may lead to programmer units
// when no "ConfigZEK.ini" names them. The station logic only calls it; the
// serial layer provides the real one (ListUnitPorts in
// serial/unit_port_scan.h) and whoever builds the station injects it, so
// the logic stays free of the serial layer and tests choose their ports.

#include <functional>
#include <string>
#include <vector>

namespace zek {

// The COM names of the USB virtual COM ports of the FTDI and Silicon Labs
// families that can be opened now (a port another program holds is left
// out), in the system's order. An empty scanner lists nothing.
using PortScanner = std::function<std::vector<std::string>()>;

}  // namespace zek
