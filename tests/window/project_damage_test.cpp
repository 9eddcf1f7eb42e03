// Damaged projects opened from the window's menu: a failed read changes
// nothing, so Program and Download send the good project loaded before it,
// or refuse when none was, and never a byte of the damaged file.

#include <QAction>
#include <algorithm>
#include <functional>
#include <ostream>
#include <vector>

#include "station/data/image_sums.h"
#include "station/data/programmer_models.h"
#include "station/data/project_file.h"
#include "station/link/project_file_save.h"
#include "tests/window/station_units_fixture.h"
#include "tools/demo-station/demo_project.h"

namespace zek::testing {
namespace {

constexpr uint16_t kFlashKB = 8;
constexpr size_t kFlashBytes = kFlashKB * 1024;
constexpr size_t kEepBytes = 2048;
// Offsets in the file of an 8 KiB project.
constexpr size_t kCfgTagAt = 2403, kCfgAreaAt = 2406, kMfmTagAt = 4455, kMainAt = 4462;
constexpr size_t kMainSection = 1 + kFlashBytes + kFlashBytes / 1024;
constexpr size_t kEepTagAt = kMainAt + kMainSection;

uint8_t MainByte(uint8_t seed, size_t i) { return static_cast<uint8_t>(seed * 31 + i * 7 + (i >> 10)); }
uint8_t EepByte(uint8_t seed, size_t i) { return static_cast<uint8_t>(seed * 17 + i * 5); }

// The station's images and what travels with them to the units.
struct InEffect {
  std::vector<uint8_t> main, eep, config;
  uint16_t main_crc, main_acc, eep_crc, eep_acc;
  uint8_t file_loaded, chip_selected;
  std::string chip_name;
  friend bool operator==(const InEffect&, const InEffect&) = default;
};

struct DamageCase {
  const char* name;
  friend void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }
  std::function<void(std::vector<uint8_t>&)> damage;
  uint8_t code;
};

class DamagedProject : public StationUnitsTest, public ::testing::WithParamInterface<DamageCase> {
 protected:
  // A project of an 8 KiB chip with 2 KiB of EEPROM whose images follow
  // `seed`, saved by another station.
  std::string WriteProject(const std::string& name, uint8_t seed) {
    FakeStation writer;
    StationState& s = writer.st;
    demo::PrepareDemoProject(s, kFlashKB);
    for (size_t i = 0; i < kFlashBytes; ++i) s.MainBuffer[i] = MainByte(seed, i);
    for (size_t i = 0; i < kEepBytes; ++i) s.EepBuffer[i] = EepByte(seed, i);
    const ImageSums main = SumsOfFirst(s.MainBuffer.span(), kFlashBytes);
    s.MainCrc16 = main.Crc16;
    s.MainAcc16 = main.Acc16;
    RefreshEepSums(s);
    s.Settings.CtrlFlags2 = 0x40;  // write the EEPROM too
    const std::string path = dir.File(name);
    WriteProjectFile(s, path, kStationModelCode);
    return path;
  }
  std::string WriteDamaged() {
    std::vector<uint8_t> bytes = TempDir::Read(WriteProject("b.RQT", 2));
    GetParam().damage(bytes);
    return dir.Write("damaged.RQT", bytes);
  }
  void Open(const std::string& path) {
    files.Answer(path);
    form().LoadformProjectFile1->trigger();
  }
  InEffect Now() {
    const StationState& s = st();
    return {{s.MainBuffer.begin(), s.MainBuffer.end()},
            {s.EepBuffer.begin(), s.EepBuffer.end()},
            {s.ChipConfigBlock.begin(), s.ChipConfigBlock.end()},
            s.MainCrc16,
            s.MainAcc16,
            s.EepCrc16,
            s.EepAcc16,
            s.FileLoaded,
            s.ChipSelected,
            s.ChipName};
  }
  // Answers unit 1's commands as a healthy unit until it is quiet; returns
  // the packets it was sent.
  std::vector<Bytes> RunUnit() {
    for (size_t i = 0; i < ports[0].sent.size(); ++i) {
      const std::optional<Bytes> command = DecodeSent(Bytes(ports[0].sent[i]));
      if (!command) continue;
      if (const std::optional<Bytes> reply = HealthyUnit(0, *command)) Receive(st(), 0, Frame(*reply));
    }
    std::vector<Bytes> packets = SentPackets(ports[0].sent);
    ports[0].sent.clear();
    return packets;
  }
  // The EEP data of the first packet of `code`, at data offset `at`.
  static std::vector<uint8_t> CarriedEep(const std::vector<Bytes>& packets, uint8_t code, size_t at) {
    for (const Bytes& p : packets)
      if (p.size() >= at + kEepBytes && p[0] == code) return {p.begin() + at, p.begin() + at + kEepBytes};
    return {};
  }
  // The main image the packets of `code` carried at data offset `at`.
  static std::vector<uint8_t> Carried(const std::vector<Bytes>& packets, uint8_t code, size_t at) {
    std::vector<uint8_t> image(kFlashBytes, 0x00);
    for (const Bytes& p : packets) {
      if (p.empty() || p[0] != code) continue;
      const size_t base = size_t{static_cast<uint16_t>(p[1] | (p[2] << 8))} * 1024;
      for (size_t i = 0; i < 4096 && base + i < image.size(); ++i) image[base + i] = p[at + i];
    }
    return image;
  }
};

TEST_P(DamagedProject, LeavesTheGoodProjectInEffectForProgramAndDownload) {
  StartWithUnits({0}, 1);
  const std::string good = WriteProject("a.RQT", 1);
  const std::string damaged = WriteDamaged();

  // A fresh station with only the chip chosen has nothing to send.
  TakeChip(0x00, kFlashKB, kEepBytes, "BF7106-8K");
  const InEffect chosen = Now();
  Open(damaged);
  EXPECT_TRUE(Now() == chosen);
  boxes.shown.clear();
  form().SpdBtnProgClick();
  form().SpdBtnDownLoadClick();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please load object file!", "Please load object file!"}));
  EXPECT_TRUE(NothingSent());

  Open(good);
  const InEffect loaded = Now();
  ASSERT_EQ(loaded.main[kFlashBytes - 1], MainByte(1, kFlashBytes - 1));
  boxes.shown.clear();
  Open(damaged);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{GetParam().code == kProjectNotKelpra
                                                      ? "Not Valid Kelpra Project File!"
                                                      : "Project File Data Has Been Corrupted!"}));
  ASSERT_TRUE(Now() == loaded);

  const std::vector<uint8_t> image(loaded.main.begin(), loaded.main.begin() + kFlashBytes);
  form().SpdBtnProgClick();
  const std::vector<Bytes> programmed = RunUnit();
  EXPECT_EQ(Carried(programmed, 0x95, 72), image);
  for (const Bytes& p : programmed) {
    if (p.empty() || p[0] != 0x95) continue;
    // MainCrc16 and MainAcc16 of the settings block.
    EXPECT_EQ(p[40] | (p[41] << 8), loaded.main_crc);
    EXPECT_EQ(p[42] | (p[43] << 8), loaded.main_acc);
  }
  const std::vector<uint8_t> eep(loaded.eep.begin(), loaded.eep.begin() + kEepBytes);
  EXPECT_EQ(CarriedEep(programmed, 0x96, 72), eep);

  form().SpdBtnDownLoadClick();
  const std::vector<Bytes> downloaded = RunUnit();
  EXPECT_EQ(Carried(downloaded, 0x55, 8), image);
  EXPECT_EQ(CarriedEep(downloaded, 0x5A, 8), eep);
}

void SwapDifferingBytes(std::vector<uint8_t>& f, size_t at) {
  while (f[at] == f[at + 1]) ++at;
  std::swap(f[at], f[at + 1]);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DamagedProject,
    ::testing::Values(
        DamageCase{"NotAProjectFile", [](std::vector<uint8_t>& f) { f[0] = 'k'; }, 5},
        // The area left out too, so the later tags stand where the reader
        // goes on and only this one fails.
        DamageCase{"BadCfgTag",
                   [](std::vector<uint8_t>& f) {
                     f[kCfgTagAt] ^= 0x01;
                     f.erase(f.begin() + kCfgAreaAt, f.begin() + kCfgAreaAt + 1 + 2048);
                   },
                   10},
        DamageCase{"BadMfmTag",
                   [](std::vector<uint8_t>& f) {
                     f[kMfmTagAt] ^= 0x01;
                     f.erase(f.begin() + kMainAt, f.begin() + kMainAt + kMainSection);
                   },
                   13},
        DamageCase{"CutInsideTheMainSection", [](std::vector<uint8_t>& f) { f.resize(kMainAt + 3000); }, 15},
        DamageCase{"BadEepTag", [](std::vector<uint8_t>& f) { f[kEepTagAt] ^= 0x01; }, 15},
        DamageCase{"OneFlippedMainByte", [](std::vector<uint8_t>& f) { f[kMainAt + 1 + 100] ^= 0x10; }, 16},
        DamageCase{"SwappedMainBytes", [](std::vector<uint8_t>& f) { SwapDifferingBytes(f, kMainAt + 1 + 5000); },
                   16}),
    [](const auto& info) { return std::string(info.param.name); });

// Each damage gives its code at the data layer too.
TEST_P(DamagedProject, GivesItsCode) {
  const std::string damaged = WriteDamaged();
  FakeStation reader;
  EXPECT_EQ(ReadProjectFile(reader.st, damaged), GetParam().code);
}

}  // namespace
}  // namespace zek::testing
