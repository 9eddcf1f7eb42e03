#include "serial/port_names.h"

#include <cstdlib>
#include <filesystem>

namespace zek {
namespace {

struct NumberingRange {
  const char* tty_prefix;
  int first_com;  // COM number of the prefix's device 0
};

// Columns: tty name prefix, COM number of its device 0; 32 devices each.
constexpr NumberingRange kNumbering[] = {
    {"ttyS", 1},
    {"ttyUSB", 33},
    {"ttyACM", 65},
};
constexpr int kDevicesPerRange = 32;

// The number after `prefix`, or -1 when `text` is not prefix + digits.
int NumberAfter(const std::string& text, const std::string& prefix) {
  if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return -1;
  int value = 0;
  for (size_t i = prefix.size(); i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9' || value > 9999) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::string DefaultDevice(const std::string& name) {
  int com = NumberAfter(name, "COM");
  for (const auto& range : kNumbering) {
    int index = com - range.first_com;
    if (index >= 0 && index < kDevicesPerRange) {
      return std::string("/dev/") + range.tty_prefix + std::to_string(index);
    }
  }
  return {};
}

}  // namespace

std::string ComLinkDir() {
  const char* dir = std::getenv("ZEK_COM_DIR");
  return dir ? std::string(dir) : std::string();
}

std::string ResolveComName(const std::string& name) {
  if (name.empty()) return {};
  if (name.front() == '/') return name;
  std::string dir = ComLinkDir();
  if (!dir.empty() && name.find('/') == std::string::npos) {
    std::error_code ec;
    std::filesystem::path link = std::filesystem::path(dir) / name;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, ec))) return link.string();
  }
  return DefaultDevice(name);
}

std::string DefaultComName(const std::string& tty) {
  for (const auto& range : kNumbering) {
    int index = NumberAfter(tty, range.tty_prefix);
    if (index >= 0 && index < kDevicesPerRange) return "COM" + std::to_string(range.first_com + index);
  }
  return {};
}

}  // namespace zek
