#include "station/data/connection_config.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "serial/comm_port.h"
#include "station/data/errors.h"
#include "station/data/file_replace.h"
#include "station/data/format.h"

namespace zek {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr std::string_view kNoPortText = "无可用的串口";
constexpr std::string_view kNothingToSave = "未连接设备，请先连接好设备！";
constexpr std::string_view kSaved = "当前的串口信息已保存！";
constexpr size_t kSavedDeviceLines = 5;

// Reads one line without its line end (LF, or CR LF from a file written
// elsewhere). False at the end of the file; raises FileError on a read
// error.
bool ReadLine(std::FILE* file, const std::string& path, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(file)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && std::ferror(file)) throw FileError(errno, path);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return c != EOF || !line.empty();
}

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

void ReadDeviceLine(StationState& st, const std::string& line, PortListView& combo) {
  if (line.size() < 4) return;
  int slot = line[3] - '1';
  if (slot < 0 || slot >= kPortSlots) return;
  size_t c = line.find('C');
  std::string name = c == std::string::npos ? std::string() : line.substr(c);
  st.PortComName[slot] = name;
  combo.AddItem(name);
  if (st.PortComm[slot]) st.PortComm[slot]->SetCommName(name);
}

}  // namespace

uint8_t ParseDeviceCount(std::string_view line) {
  if (line.size() <= 5) return 0;
  for (size_t i = 5; i < line.size(); ++i) {
    if (line[i] >= '0' && line[i] <= '9') return static_cast<uint8_t>(line[i] - '0');
  }
  return 0;
}

void ReadConnectionIni(StationState& st, const std::string& path, PortListView& combo) {
  combo.ClearItems();
  File file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw FileError(errno, path);
  std::string line;
  bool found = false;
  while (!found && ReadLine(file.get(), path, line)) found = line == "[Connection]";
  while (found && ReadLine(file.get(), path, line)) {
    std::string upper = UpperCase(line);
    if (StartsWith(upper, "TOTDEV")) {
      st.PortSlotCount = ParseDeviceCount(upper);
    } else if (StartsWith(upper, "DEV")) {
      ReadDeviceLine(st, upper, combo);
    }
  }
  combo.SetText(st.PortComName[0]);
}

void ScanSerialPorts(StationState& st, PortListView& combo) {
  combo.ClearItems();
  if (st.PortScan) {
    for (const std::string& name : st.PortScan()) combo.AddItem(name);
  }
  std::vector<std::string> items = combo.Items();
  if (items.empty()) {
    combo.SetText(std::string(kNoPortText));
    return;
  }
  // The per-port tables have ten slots; a longer list must not carry the
  // slot loops past them.
  st.PortSlotCount = static_cast<uint8_t>(std::min<size_t>(items.size(), kPortSlots));
  combo.SetText(items.back());
}

void LoadDeviceConfig(StationState& st, PortListView& combo) {
  std::string path = st.AppDir + kConnectionFileName;
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    ReadConnectionIni(st, path, combo);
  } else {
    ScanSerialPorts(st, combo);
  }
}

void SaveCOMConfigtoFile1Click(StationState& st) {
  std::vector<std::string> items = st.Views.ComboBoxCOM->Items();
  if (items.empty()) {
    st.Views.Boxes->Plain(std::string(kNothingToSave));
    return;
  }
  std::string text = "[Customers]\nCustomer=AUTO\n[Connection]\n";
  text += Format("TotDev=%d", {static_cast<int>(items.size())}) + "\n";
  for (size_t i = 0; i < items.size() && i < kSavedDeviceLines; ++i) {
    text += Format("Dev%d=", {static_cast<int>(i + 1)}) + items[i] + "\n";
  }
  ReplaceFileAtomically(st.AppDir + kConnectionFileName, text);
  st.Views.Boxes->Plain(std::string(kSaved));
}

}  // namespace zek
