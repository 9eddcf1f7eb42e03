#include "station/data/connection_config.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "serial/exclusive_open.h"
#include "serial/unit_port_scan.h"
#include "station/data/errors.h"
#include "station/data/port_list_model.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh station whose program folder is a temporary one, with the port
// list a sorted model as the window has it.
class ConnectionFile : public ::testing::Test {
 protected:
  ConnectionFile() {
    char name[] = "/tmp/zek-app-XXXXXX";
    dir = ::mkdtemp(name);
    fs.st.AppDir = dir.string() + "/";
    fs.st.Views.ComboBoxCOM = &list;
  }
  ~ConnectionFile() override { fs::remove_all(dir); }

  void WriteIni(const std::string& text) { std::ofstream(dir / kConnectionFileName, std::ios::binary) << text; }
  void Read() { ReadConnectionIni(fs.st, (dir / kConnectionFileName).string(), list); }
  void Save(const Names& names) {
    list.ClearItems();
    for (const auto& n : names) list.AddItem(n);
    SaveCOMConfigtoFile1Click(fs.st);
  }

  fs::path dir;
  testing::FakeStation fs;
  PortListModel list;
};

TEST_F(ConnectionFile, TheWriterWritesTheListInItsOrder) {
  Save({"COM3", "COM10", "COM2"});
  EXPECT_EQ(ReadFile(dir / kConnectionFileName),
            "[Customers]\nCustomer=AUTO\n[Connection]\nTotDev=3\nDev1=COM10\nDev2=COM2\nDev3=COM3\n");
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "plain");
  EXPECT_EQ(fs.boxes.shown[0].text, "当前的串口信息已保存！");
}

TEST_F(ConnectionFile, AnEmptyListIsNotSaved) {
  WriteIni("[Connection]\nTotDev=1\nDev1=COM4\n");
  Save({});
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].text, "未连接设备，请先连接好设备！");
  EXPECT_EQ(ReadFile(dir / kConnectionFileName), "[Connection]\nTotDev=1\nDev1=COM4\n");
}

TEST_F(ConnectionFile, SevenPortsSaveFiveLinesAndReadBackAsSevenSlots) {
  Save({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7"});
  EXPECT_EQ(ReadFile(dir / kConnectionFileName),
            "[Customers]\nCustomer=AUTO\n[Connection]\nTotDev=7\n"
            "Dev1=COM1\nDev2=COM2\nDev3=COM3\nDev4=COM4\nDev5=COM5\n");
  Read();
  EXPECT_EQ(fs.st.PortSlotCount, 7);
  for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(fs.st.PortComName[slot], "COM" + std::to_string(slot + 1));
  EXPECT_EQ(fs.st.PortComName[5], "");
  EXPECT_EQ(list.Items(), (Names{"COM1", "COM2", "COM3", "COM4", "COM5"}));
}

TEST_F(ConnectionFile, ARoundTripKeepsNamesAndCount) {
  for (const Names& names : {Names{"COM9"}, Names{"COM2", "COM11"}, Names{"COM1", "COM2", "COM3", "COM4"}}) {
    Save(names);
    Read();
    EXPECT_EQ(fs.st.PortSlotCount, names.size());
    Names sorted = list.Items();
    for (size_t i = 0; i < sorted.size(); ++i) {
      EXPECT_EQ(fs.st.PortComName[i], sorted[i]);
      EXPECT_EQ(fs.ports[i].name, sorted[i]);
    }
    EXPECT_EQ(list.Text(), sorted[0]);
  }
}

TEST_F(ConnectionFile, AFailedWriteLeavesTheOldFileWhole) {
  WriteIni("[Connection]\nTotDev=1\nDev1=COM4\n");
  fs::create_directory(dir / "ConfigZEK.ini.new");  // the writer cannot create its file
  list.AddItem("COM5");
  EXPECT_THROW(SaveCOMConfigtoFile1Click(fs.st), FileError);
  EXPECT_EQ(ReadFile(dir / kConnectionFileName), "[Connection]\nTotDev=1\nDev1=COM4\n");
  EXPECT_TRUE(fs.boxes.shown.empty());
}

// An operator's set-up: the file a link into a shared folder, readable by
// the owner's group only. A save replaces what the link points to, keeps
// the link, and keeps the file's permissions.
TEST_F(ConnectionFile, ASaveThroughALinkReplacesItsTargetAndKeepsTheMode) {
  fs::create_directory(dir / "shared");
  const fs::path target = dir / "shared" / "stations.ini";
  std::ofstream(target) << "[Connection]\nTotDev=1\nDev1=COM4\n";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("shared/stations.ini", dir / kConnectionFileName);
  Save({"COM8"});
  EXPECT_TRUE(fs::is_symlink(dir / kConnectionFileName));
  EXPECT_EQ(fs::read_symlink(dir / kConnectionFileName), "shared/stations.ini");
  EXPECT_EQ(ReadFile(target), "[Customers]\nCustomer=AUTO\n[Connection]\nTotDev=1\nDev1=COM8\n");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(fs::exists(dir / "shared" / "stations.ini.new"));
}

TEST_F(ConnectionFile, ASaveKeepsThePlainFilesMode) {
  for (fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                         fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read}) {
    WriteIni("[Connection]\n");
    fs::permissions(dir / kConnectionFileName, mode);
    Save({"COM2"});
    EXPECT_FALSE(fs::is_symlink(dir / kConnectionFileName));
    EXPECT_EQ(fs::status(dir / kConnectionFileName).permissions(), mode);
    EXPECT_EQ(ReadFile(dir / kConnectionFileName), "[Customers]\nCustomer=AUTO\n[Connection]\nTotDev=1\nDev1=COM2\n");
  }
}

// The reader, on files as an operator may have edited them.
struct IniCase {
  const char* name;
  const char* text;
  uint8_t slot_count;  // the count before reading is 5
  Names slot_names;    // slots 0.. after reading
  Names items;
  const char* box_text;
};
void PrintTo(const IniCase& c, std::ostream* os) { *os << c.name; }

class IniReader : public ConnectionFile, public ::testing::WithParamInterface<IniCase> {};

TEST_P(IniReader, ReadsTheConnectionSection) {
  fs.st.PortSlotCount = 5;
  fs.st.PortComName[0] = "COM9";
  list.AddItem("STALE");
  WriteIni(GetParam().text);
  Read();
  EXPECT_EQ(fs.st.PortSlotCount, GetParam().slot_count);
  for (size_t i = 0; i < GetParam().slot_names.size(); ++i) {
    EXPECT_EQ(fs.st.PortComName[i], GetParam().slot_names[i]) << "slot " << i;
  }
  EXPECT_EQ(list.Items(), GetParam().items);
  EXPECT_EQ(list.Text(), GetParam().box_text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniReader,
    ::testing::Values(
        IniCase{"NoSection", "[Customers]\nCustomer=AUTO\nTotDev=2\nDev1=COM4\n", 5, {"COM9"}, {}, "COM9"},
        IniCase{"HeaderCaseMatters", "[connection]\nTotDev=2\nDev1=COM4\n", 5, {"COM9"}, {}, "COM9"},
        IniCase{"LowerCaseKeys", "[Connection]\ntotdev=3\ndev3=com4\n", 3, {"COM9", "", "COM4"}, {"COM4"}, "COM9"},
        IniCase{"TenReadsAsOne", "[Connection]\nTotDev=10\nDev1=COM1\n", 1, {"COM1"}, {"COM1"}, "COM1"},
        IniCase{"NoDigitIsZero", "[Connection]\nTotDev=\n", 0, {"COM9"}, {}, "COM9"},
        IniCase{"BareKeyIsZero", "[Connection]\nTOTDEV\n", 0, {"COM9"}, {}, "COM9"},
        IniCase{"FirstDigitAnywhere", "[Connection]\nTotDev = x4y2\n", 4, {"COM9"}, {}, "COM9"},
        IniCase{"LaterLineWinsTheSlot", "[Connection]\nDev1=COM3\nDev1=COM12\n", 5, {"COM12"}, {"COM12", "COM3"},
                "COM12"},
        IniCase{"ListSortsAsText", "[Connection]\nTotDev=3\nDev1=COM2\nDev2=COM10\nDev3=COM1\n", 3,
                {"COM2", "COM10", "COM1"}, {"COM1", "COM10", "COM2"}, "COM2"},
        IniCase{"SlotsOutsideAreIgnored", "[Connection]\nDev0=COM1\nDevA=COM2\nDev=COM3\nDevice=COM4\n", 5,
                {"COM9"}, {}, "COM9"},
        IniCase{"NameFromTheFirstC", "[Connection]\nDev2=PORT_C5\nDev3=/dev/ttyUSB0\n", 5, {"COM9", "C5", ""},
                {"", "C5"}, "COM9"},
        IniCase{"LaterSectionsStillRead", "[Connection]\nTotDev=1\n[Other]\nDev2=COM6\n", 1, {"COM9", "COM6"},
                {"COM6"}, "COM9"},
        IniCase{"WindowsLineEnds", "[Customers]\r\n[Connection]\r\nTotDev=2\r\nDev1=COM7\r\nDev2=COM8\r\n", 2,
                {"COM7", "COM8"}, {"COM7", "COM8"}, "COM7"},
        IniCase{"NoFinalLineEnd", "[Connection]\nDev1=COM7", 5, {"COM7"}, {"COM7"}, "COM7"},
        IniCase{"EmptyFile", "", 5, {"COM9"}, {}, "COM9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectionFile, TheReaderSetsTheSlotsComponentName) {
  WriteIni("[Connection]\nDev4=COM21\n");
  Read();
  EXPECT_EQ(fs.ports[3].name, "COM21");
  EXPECT_EQ(fs.ports[3].opens, 0);  // stored only
  fs.st.PortComm[3] = nullptr;      // an unbound slot is left alone
  Read();
  EXPECT_EQ(fs.st.PortComName[3], "COM21");
}

TEST_F(ConnectionFile, AMissingFileIsAFileErrorAfterTheListIsCleared) {
  list.AddItem("COM1");
  try {
    Read();
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(list.Count(), 0);
}

TEST(ParseDeviceCount, ReadsOneDigitFromTheSixthCharacter) {
  const std::pair<const char*, int> cases[] = {
      {"TOTDEV=4", 4}, {"TOTDEV=10", 1}, {"TOTDEV=", 0}, {"TOTDE", 0},     {"TOTDEV", 0},
      {"TOTDEV9", 9},  {"TOTDEVX=7", 7}, {"", 0},        {"12345", 0},     {"123456", 6},
  };
  for (const auto& [line, count] : cases) EXPECT_EQ(ParseDeviceCount(line), count) << line;
}

// The scan lists what the injected scanner lists, in its order; the list
// sorts it and the slot count stops at ten.
TEST_F(ConnectionFile, TheScanTakesThePortsItsScannerLists) {
  int calls = 0;
  Names listed = {"COM9", "COM12", "COM3"};
  fs.st.PortScan = [&] {
    ++calls;
    return listed;
  };
  fs.st.PortComName[0] = "COM5";
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(list.Items(), (Names{"COM12", "COM3", "COM9"}));
  EXPECT_EQ(fs.st.PortSlotCount, 3);
  EXPECT_EQ(list.Text(), "COM9");
  EXPECT_EQ(fs.st.PortComName[0], "COM5");
  listed.clear();
  for (int i = 1; i <= 11; ++i) listed.push_back("COM" + std::to_string(i));
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(fs.st.PortSlotCount, 10);
  // A station built without a scanner finds no port.
  fs.st.PortScan = nullptr;
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "无可用的串口");
  EXPECT_EQ(fs.st.PortSlotCount, 10);
}

// A fake sysfs: tty entries with a driver link and a device number; the
// device numbers are those of real pseudo-terminals, which the scan opens
// through $ZEK_COM_DIR links.
class PortScan : public ConnectionFile {
 protected:
  PortScan() {
    fs.st.PortScan = ListUnitPorts;  // as the window injects it
    ::setenv("ZEK_SYSFS_ROOT", (dir / "sys").c_str(), 1);
    ::setenv("ZEK_COM_DIR", (dir / "com").c_str(), 1);
    fs::create_directories(dir / "sys" / "class" / "tty");
    fs::create_directories(dir / "com");
  }
  ~PortScan() override {
    ::unsetenv("ZEK_SYSFS_ROOT");
    ::unsetenv("ZEK_COM_DIR");
    for (int fd : fds) ::close(fd);
  }
  // A tty of `driver` backed by a new pty, linked as `com` (none: unlinked).
  std::string AddTty(const std::string& tty, const std::string& driver, const std::string& com) {
    int master = -1, slave = -1;
    EXPECT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fds.push_back(master);
    fds.push_back(slave);
    std::string path = ::ttyname(slave);
    struct stat st {};
    ::stat(path.c_str(), &st);
    fs::path entry = dir / "sys" / "class" / "tty" / tty;
    fs::create_directories(entry / "device");
    std::ofstream(entry / "dev") << major(st.st_rdev) << ":" << minor(st.st_rdev) << "\n";
    fs::create_directory_symlink("../../../../bus/usb-serial/drivers/" + driver, entry / "device" / "driver");
    if (!com.empty()) fs::create_symlink(path, dir / "com" / com);
    return path;
  }
  std::vector<int> fds;
};

TEST_F(PortScan, ListsTheTwoUsbFamiliesThatCanBeOpened) {
  AddTty("ttyUSB0", "ftdi_sio", "COM7");
  AddTty("ttyUSB1", "cp210x", "COM3");
  AddTty("ttyUSB2", "pl2303", "COM4");     // another family
  AddTty("ttyS0", "serial8250", "COM1");   // a built-in port
  AddTty("ttyUSB9", "ftdi_sio", "");       // COM42 by number: no such device here
  fs::create_directories(dir / "sys" / "class" / "tty" / "tty1");  // a virtual tty: no driver
  fs.st.PortSlotCount = 9;
  fs.st.PortComName[0] = "COM5";
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Items(), (Names{"COM3", "COM7"}));
  EXPECT_EQ(fs.st.PortSlotCount, 2);
  EXPECT_EQ(list.Text(), "COM7");
  EXPECT_EQ(fs.st.PortComName[0], "COM5");  // the scan names no slot
  EXPECT_EQ(fs.ports[0].name, "COM2");
}

TEST_F(PortScan, LeavesOutAPortAnotherProgramHolds) {
  std::string held = AddTty("ttyUSB0", "ftdi_sio", "COM7");
  AddTty("ttyUSB1", "ftdi_sio", "COM8");
  OpenResult holder = OpenExclusive(held);
  ASSERT_GE(holder.fd, 0);
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Items(), (Names{"COM8"}));
  CloseExclusive(holder.fd);
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Items(), (Names{"COM7", "COM8"}));
}

TEST_F(PortScan, NoPortSaysSoAndKeepsTheSlotCount) {
  fs.st.PortSlotCount = 4;
  list.AddItem("COM1");
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "无可用的串口");
  EXPECT_EQ(fs.st.PortSlotCount, 4);
  ::setenv("ZEK_SYSFS_ROOT", (dir / "nothing-here").c_str(), 1);
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Text(), "无可用的串口");
}

TEST_F(PortScan, MorePortsThanSlotsCountAsTenSlots) {
  for (int i = 0; i < 12; ++i) AddTty("ttyUSB" + std::to_string(i), "ftdi_sio", "COM" + std::to_string(40 + i));
  ScanSerialPorts(fs.st, list);
  EXPECT_EQ(list.Count(), 12);
  EXPECT_EQ(fs.st.PortSlotCount, 10);
  EXPECT_EQ(list.Text(), "COM51");
}

TEST_F(PortScan, TheFileWinsOverTheScanWhenItExists) {
  AddTty("ttyUSB0", "ftdi_sio", "COM7");
  LoadDeviceConfig(fs.st, list);
  EXPECT_EQ(list.Items(), (Names{"COM7"}));
  WriteIni("[Connection]\nTotDev=1\nDev1=COM12\n");
  LoadDeviceConfig(fs.st, list);
  EXPECT_EQ(list.Items(), (Names{"COM12"}));
  EXPECT_EQ(fs.st.PortSlotCount, 1);
}

}  // namespace
}  // namespace zek
