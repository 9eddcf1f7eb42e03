#include "serial/serial_comm_map.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "serial/port_names.h"

namespace zek {
namespace fs = std::filesystem;
namespace {

// Columns: kernel driver, value-name prefix of its family.
struct DriverFamily {
  const char* driver;
  const char* prefix;
};
constexpr DriverFamily kFamilies[] = {
    {"ftdi_sio", "\\Device\\VCP"},
    {"cp210x", "\\Device\\Silabser"},
    {"serial8250", "\\Device\\Serial"},
    {"cdc_acm", "\\Device\\USBSER"},
};

std::string PrefixFor(const std::string& driver) {
  for (const auto& family : kFamilies) {
    if (driver == family.driver) return family.prefix;
  }
  return "\\Device\\" + driver;
}

fs::path SysfsRoot() {
  const char* root = std::getenv("ZEK_SYSFS_ROOT");
  return root && *root ? fs::path(root) : fs::path("/sys");
}

// "ttyUSB10" sorts after "ttyUSB2": letters first, then the number.
bool TtyOrder(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    size_t cut = s.find_last_not_of("0123456789") + 1;
    std::string digits = s.substr(cut);
    return std::make_tuple(s.substr(0, cut), digits.size(), digits);
  };
  return split(a) < split(b);
}

std::optional<dev_t> DeviceNumber(const fs::path& tty_dir) {
  std::ifstream in(tty_dir / "dev");
  unsigned major_number = 0, minor_number = 0;
  char colon = 0;
  if (!(in >> major_number >> colon >> minor_number) || colon != ':') return std::nullopt;
  return makedev(major_number, minor_number);
}

// The first link of $ZEK_COM_DIR, by name, that leads to device `number`.
std::string LinkedComName(dev_t number) {
  std::string dir = ComLinkDir();
  if (dir.empty()) return {};
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  for (const auto& name : names) {
    struct stat st {};
    if (::stat((fs::path(dir) / name).c_str(), &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == number) {
      return name;
    }
  }
  return {};
}

std::string ComNameOf(const fs::path& tty_dir, const std::string& tty) {
  if (auto number = DeviceNumber(tty_dir)) {
    std::string linked = LinkedComName(*number);
    if (!linked.empty()) return linked;
  }
  std::string numbered = DefaultComName(tty);
  return numbered.empty() ? "/dev/" + tty : numbered;
}

}  // namespace

std::vector<SerialCommValue> ReadSerialCommMap() {
  fs::path class_dir = SysfsRoot() / "class" / "tty";
  std::error_code ec;
  std::vector<std::string> ttys;
  for (const auto& entry : fs::directory_iterator(class_dir, ec)) ttys.push_back(entry.path().filename());
  std::sort(ttys.begin(), ttys.end(), TtyOrder);

  std::vector<SerialCommValue> values;
  std::map<std::string, int> next_index;
  for (const auto& tty : ttys) {
    fs::path tty_dir = class_dir / tty;
    fs::path driver = fs::read_symlink(tty_dir / "device" / "driver", ec);
    if (ec || driver.filename().empty()) continue;  // a virtual tty
    std::string prefix = PrefixFor(driver.filename());
    values.push_back({prefix + std::to_string(next_index[prefix]++), ComNameOf(tty_dir, tty)});
  }
  return values;
}

}  // namespace zek
