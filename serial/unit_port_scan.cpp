#include "serial/unit_port_scan.h"

#include "serial/exclusive_open.h"
#include "serial/port_names.h"
#include "serial/serial_comm_map.h"

namespace zek {
namespace {

bool IsUnitFamily(const std::string& value_name) {
  return value_name.compare(0, 11, "\\Device\\VCP") == 0 || value_name.compare(0, 16, "\\Device\\Silabser") == 0;
}

// The port can be had right now: opened the way TComm holds it, then let
// go, so a port another program holds is left out.
bool CanOpen(const std::string& com_name) {
  OpenResult r = OpenExclusive(ResolveComName(com_name));
  CloseExclusive(r.fd);
  return r.fd >= 0;
}

}  // namespace

std::vector<std::string> ListUnitPorts() {
  std::vector<std::string> names;
  for (const SerialCommValue& value : ReadSerialCommMap()) {
    if (IsUnitFamily(value.name) && CanOpen(value.com_name)) names.push_back(value.com_name);
  }
  return names;
}

}  // namespace zek
