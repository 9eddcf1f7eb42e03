#include "station/link/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "station/link/packet_framing.h"
#include "tests/support/fake_views.h"
#include "tests/support/firmware_fixture.h"

namespace zek {
namespace {

namespace fsys = std::filesystem;

std::vector<uint8_t> Decode(const std::vector<uint8_t>& frame) {
  std::vector<uint8_t> copy = frame, packet(kPacketBufSize);
  uint16_t count = static_cast<uint16_t>(copy.size()), length = 0;
  EXPECT_EQ(SlipDecode(copy, packet, length, count), 0);
  packet.resize(length);
  return packet;
}

// A station with an image loaded by hand: byte i of the image is
// (i * 7 + i / 2048) & 0xFF, so each block differs.
struct UpgradeFixture : ::testing::Test {
  void SetUp() override {
    for (auto& port : fs.ports) port.open = true;
    for (size_t i = 0; i < fs.st.FirmwareImage.size(); ++i)
      fs.st.FirmwareImage[i] = static_cast<uint8_t>(i * 7 + i / 2048);
    fs.st.FirmwareOK = 1;
    fs.st.FirmwareEndAddress = 0x1BFF;  // three blocks
  }
  std::vector<uint8_t> Sent(int slot, size_t i) { return Decode(fs.ports[slot].sent.at(i)); }
  static constexpr uint8_t kSlot = 2;
  testing::FakeStation fs;
};

struct CountCase {
  uint16_t end;
  uint16_t blocks;
};

class BlockCounts : public UpgradeFixture, public ::testing::WithParamInterface<CountCase> {};

constexpr LinkTexts kChineseTexts{
    .UpgradeStarted = "开始升级编程器%d的固件......",
    .UpgradeCompleted = "编程器%d固件升级成功！",
    .FileMissingBefore = "文件\"",
    .FileMissingAfter = "\"没有找到，请确认！",
};

TEST_P(BlockCounts, StartSetsTheSlotUpAndSendsBlockZero) {
  fs.st.FirmwareEndAddress = GetParam().end;
  StartFirmwareUpgrade(fs.st, kSlot);
  EXPECT_EQ(fs.st.PortBlockCount[kSlot], GetParam().blocks);
  EXPECT_EQ(fs.st.PortBlockIndex[kSlot], 0);
  EXPECT_EQ(fs.st.PortState[kSlot], 160);
  EXPECT_EQ(fs.st.PortTimeout[kSlot], 500);
  EXPECT_EQ(fs.st.PortUpgrading[kSlot], 1);
  EXPECT_EQ(fs.st.PortConnected[kSlot], 1);
  EXPECT_EQ(fs.st.PortBusy[kSlot], 1);
  EXPECT_EQ(fs.gauges[kSlot].progress, 2);
  EXPECT_EQ(fs.gauges[kSlot].max, GetParam().blocks);
  EXPECT_EQ(fs.gauges[kSlot].color, kGaugeBlue);
  EXPECT_EQ(fs.memo.lines, std::vector<std::string>{"> 10:15:02 Start to Upgrade Programmer 3s Firmware......"});
  ASSERT_EQ(fs.ports[kSlot].sent.size(), 1u);
  EXPECT_EQ(Sent(kSlot, 0)[1], 0);
}

INSTANTIATE_TEST_SUITE_P(Ends, BlockCounts,
                         ::testing::Values(CountCase{0x8FFF, 32}, CountCase{0x1000, 1}, CountCase{0x13FF, 1},
                                           CountCase{0x1400, 2}, CountCase{0x17FF, 2}, CountCase{0x8C00, 32}));

TEST_F(UpgradeFixture, NothingStartsWithoutAValidFile) {
  fs.st.FirmwareOK = 0;
  StartFirmwareUpgrade(fs.st, kSlot);
  EXPECT_EQ(fs.st.PortState[kSlot], kStateIdle);
  EXPECT_EQ(fs.st.PortUpgrading[kSlot], 0);
  EXPECT_TRUE(fs.ports[kSlot].sent.empty());
  EXPECT_TRUE(fs.memo.lines.empty());
}

class BlockPackets : public UpgradeFixture, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(BlockPackets, CarryTheBlockScrambledWithFreshDraws) {
  const uint16_t block = GetParam();
  ASSERT_TRUE(SendFirmwareBlock(fs.st, block, kSlot));
  std::vector<uint8_t> p = Sent(kSlot, 0);
  ASSERT_EQ(p.size(), 4138u);

  // The draws in packet order, from the program's generator at its start.
  RandomGenerator draws;
  uint16_t k = static_cast<uint16_t>(draws.Below(0xFFF5));
  EXPECT_EQ(p[0], 0xB7);
  EXPECT_EQ(p[1], static_cast<uint8_t>(block * 4));
  EXPECT_EQ(p[2] | (p[3] << 8), k);
  EXPECT_EQ(p[4], draws.Below(255));
  EXPECT_EQ(p[5], draws.Below(255));
  EXPECT_EQ(p[6] | (p[7] << 8), 0x1020);
  for (size_t g = 0; g < 520; ++g) {
    for (size_t b = 0; b < 3; ++b) ASSERT_EQ(p[2056 + 4 * g + b], draws.Below(255)) << g;
    ASSERT_EQ(p[2056 + 4 * g + 3], 0) << g;
  }
  uint16_t check = Check16Packet(p, 0, 4135);
  EXPECT_EQ(p[4136] | (p[4137] << 8), check);
  EXPECT_EQ(CheckPacket(p, static_cast<uint16_t>(p.size())), 0);

  // Group i: image bytes XOR k low, k high, k low, then the mask; the
  // image's fourth byte is not sent.
  const size_t base = (size_t{block} * 2048) % 65536;
  for (size_t i = 0; i < 512; ++i) {
    const uint8_t* img = &fs.st.FirmwareImage[base + 4 * i];
    const uint8_t* m = &p[2056 + 4 * i];
    ASSERT_EQ(p[8 + 4 * i], img[0] ^ (k & 0xFF) ^ m[0]) << i;
    ASSERT_EQ(p[9 + 4 * i], img[1] ^ (k >> 8) ^ m[1]) << i;
    ASSERT_EQ(p[10 + 4 * i], img[2] ^ (k & 0xFF) ^ m[2]) << i;
    ASSERT_EQ(p[11 + 4 * i], 0) << i;
  }
  auto plain = testing::DescrambleFirmwareBlock(p);
  ASSERT_TRUE(plain.has_value());
  for (size_t i = 0; i < 2048; ++i)
    ASSERT_EQ((*plain)[i], i % 4 == 3 ? 0 : fs.st.FirmwareImage[base + i]) << i;
}

// 33 and 64 show the number's wrap in byte 1 and the image offset's.
INSTANTIATE_TEST_SUITE_P(Blocks, BlockPackets, ::testing::Values(0, 1, 31, 33, 64, 65535));

TEST_F(UpgradeFixture, EachReplySixSendsTheNextBlockThenTheFinish) {
  StartFirmwareUpgrade(fs.st, kSlot);
  HandleUpgradeReply(fs.st, 6, kSlot);
  HandleUpgradeReply(fs.st, 6, kSlot);
  EXPECT_EQ(fs.st.PortState[kSlot], 160);
  EXPECT_EQ(fs.gauges[kSlot].progress, 4);
  ASSERT_EQ(fs.ports[kSlot].sent.size(), 3u);
  for (size_t b = 0; b < 3; ++b) {
    auto plain = testing::DescrambleFirmwareBlock(Sent(kSlot, b));
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(Sent(kSlot, b)[1], 4 * b);
    EXPECT_EQ((*plain)[0], fs.st.FirmwareImage[2048 * b]) << b;
  }
  HandleUpgradeReply(fs.st, 6, kSlot);
  ASSERT_EQ(fs.ports[kSlot].sent.size(), 4u);
  std::vector<uint8_t> finish = Sent(kSlot, 3);
  ASSERT_EQ(finish.size(), 12u);
  EXPECT_EQ(std::vector<uint8_t>(finish.begin(), finish.begin() + 10),
            (std::vector<uint8_t>{0xBD, 0x00, 'R', 'S', 0x00, 0x00, 0x02, 0x00, 0x00, 0x00}));
  EXPECT_EQ(CheckPacket(finish, 12), 0);
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 Programmer 3s Firmware Fpgrade Completed!");
  EXPECT_EQ(fs.memo.lines.size(), 2u);
  EXPECT_EQ(fs.st.PortState[kSlot], kStateIdle);
  EXPECT_EQ(fs.st.PortBusy[kSlot], 0);
  EXPECT_EQ(fs.st.PortUpgrading[kSlot], 0);
  EXPECT_EQ(fs.gauges[kSlot].color, kGaugeBlue);
  EXPECT_EQ(fs.gauges[kSlot].progress, fs.gauges[kSlot].max);
}

TEST_F(UpgradeFixture, ASingleBlockFinishesOnTheFirstReply) {
  fs.st.FirmwareEndAddress = 0x1000;
  StartFirmwareUpgrade(fs.st, kSlot);
  HandleUpgradeReply(fs.st, 6, kSlot);
  ASSERT_EQ(fs.ports[kSlot].sent.size(), 2u);
  EXPECT_EQ(Sent(kSlot, 1)[0], 0xBD);
  EXPECT_EQ(fs.st.PortState[kSlot], kStateIdle);
}

struct FailCase {
  uint8_t status;
  const char* line;
};

class FailedBlocks : public UpgradeFixture, public ::testing::WithParamInterface<FailCase> {};

TEST_P(FailedBlocks, EndTheUpgradeWithTheStatusText) {
  StartFirmwareUpgrade(fs.st, kSlot);
  HandleUpgradeReply(fs.st, 6, kSlot);
  fs.memo.lines.clear();
  HandleUpgradeReply(fs.st, GetParam().status, kSlot);
  EXPECT_EQ(fs.memo.lines, std::vector<std::string>{GetParam().line});
  EXPECT_EQ(fs.ports[kSlot].sent.size(), 2u);  // no finish packet
  EXPECT_EQ(fs.st.PortState[kSlot], kStateIdle);
  EXPECT_EQ(fs.st.PortBusy[kSlot], 0);
  EXPECT_EQ(fs.st.PortUpgrading[kSlot], 0);
  EXPECT_EQ(fs.gauges[kSlot].color, kGaugeRed);
  EXPECT_EQ(fs.beeper.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Statuses, FailedBlocks,
                         ::testing::Values(FailCase{54, "> 10:15:02 C3: Chip type error!"},
                                           FailCase{35, "> 10:15:02 C3: Packet checksum error!"},
                                           // 0 is no success here and must not read as one
                                           FailCase{0, "> 10:15:02 C3: Operation error! Error Code = 0x00"},
                                           FailCase{0x77, "> 10:15:02 C3: Operation error! Error Code = 0x77"}));

TEST_F(UpgradeFixture, SlotsRunTheirOwnUpgrades) {
  StartFirmwareUpgrade(fs.st, 0);
  StartFirmwareUpgrade(fs.st, 5);
  HandleUpgradeReply(fs.st, 6, 5);
  HandleUpgradeReply(fs.st, 54, 0);
  EXPECT_EQ(fs.st.PortState[0], kStateIdle);
  EXPECT_EQ(fs.st.PortState[5], 160);
  EXPECT_EQ(fs.st.PortBlockIndex[5], 1);
  auto plain = testing::DescrambleFirmwareBlock(Sent(5, 1));
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ((*plain)[1], fs.st.FirmwareImage[2049]);
}

TEST_F(UpgradeFixture, AUnitRebuildsTheImageOfTheLoadedFile) {
  testing::FirmwareRecipe r;
  r.end_address = 0x1BFF;
  for (size_t i = 0; i < 5000; ++i) r.image.push_back(static_cast<uint8_t>(i ^ (i >> 3)));
  LoadFirmwareBytes(fs.st, testing::BuildFirmwareFile(r), "DKxLumZEK.FWR");
  ASSERT_EQ(fs.st.FirmwareOK, 1);
  StartFirmwareUpgrade(fs.st, kSlot);
  HandleUpgradeReply(fs.st, 6, kSlot);
  HandleUpgradeReply(fs.st, 6, kSlot);
  std::vector<uint8_t> rebuilt;
  for (size_t b = 0; b < 3; ++b) {
    auto plain = testing::DescrambleFirmwareBlock(Sent(kSlot, b));
    ASSERT_TRUE(plain.has_value()) << b;
    rebuilt.insert(rebuilt.end(), plain->begin(), plain->end());
  }
  for (size_t i = 0; i < r.image.size(); ++i) ASSERT_EQ(rebuilt[i], i % 4 == 3 ? 0 : r.image[i]) << i;
}

// The image area starts erased and is erased again before each load, so
// blocks reaching past the file's end carry 0xFF, as a unit's flash does.
TEST_F(UpgradeFixture, BlocksPastTheFilesEndCarryErasedBytes) {
  for (bool earlier_load : {false, true}) {
    testing::FakeStation fresh;
    fresh.ports[kSlot].open = true;
    if (earlier_load) {
      testing::FirmwareRecipe big;
      for (size_t i = 0; i < 20000; ++i) big.image.push_back(static_cast<uint8_t>(i));
      LoadFirmwareBytes(fresh.st, testing::BuildFirmwareFile(big), "DKxLumZEK.FWR");
    }
    testing::FirmwareRecipe r;
    r.end_address = 0x2FFF;  // three blocks: 6144 bytes
    r.image = {1, 2, 3, 4};
    const std::vector<uint8_t> file = testing::BuildFirmwareFile(r);
    ASSERT_LT(file.size(), 3 * kFirmwareBlockBytes);
    LoadFirmwareBytes(fresh.st, file, "DKxLumZEK.FWR");
    ASSERT_EQ(fresh.st.FirmwareOK, 1);
    StartFirmwareUpgrade(fresh.st, kSlot);
    HandleUpgradeReply(fresh.st, 6, kSlot);
    HandleUpgradeReply(fresh.st, 6, kSlot);
    ASSERT_EQ(fresh.ports[kSlot].sent.size(), 3u);
    auto last = testing::DescrambleFirmwareBlock(Decode(fresh.ports[kSlot].sent[2]));
    ASSERT_TRUE(last.has_value());
    for (size_t i = file.size(); i < 3 * kFirmwareBlockBytes; ++i) {
      size_t at = i - 2 * kFirmwareBlockBytes;
      ASSERT_EQ((*last)[at], i % 4 == 3 ? 0 : 0xFF) << "image byte " << i << (earlier_load ? " after a load" : "");
    }
  }
}

// The menu command over a scratch program folder.
struct MenuFixture : UpgradeFixture {
  void SetUp() override {
    UpgradeFixture::SetUp();
    dir = fsys::temp_directory_path() / ("zek_fwmenu_" + std::to_string(::getpid()));
    fsys::create_directories(dir);
    fs.st.AppDir = dir.string() + "/";
  }
  void TearDown() override { fsys::remove_all(dir); }
  void PutFile() { testing::WriteBytes((dir / "DKxLumZEK.FWR").string(), std::vector<uint8_t>{1, 2, 3}); }
  fsys::path dir;
};

TEST_F(MenuFixture, AMissingFileIsReportedAndClearsTheFlag) {
  fs.st.DevicesFound = 2;
  FirmWareGradeXClick(fs.st);
  EXPECT_EQ(fs.st.FirmwareOK, 0);
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "plain");
  EXPECT_EQ(fs.boxes.shown[0].text, "File \"" + dir.string() + "/DKxLumZEK.FWR\"Not Found, Please Confirm!");
  for (auto& port : fs.ports) EXPECT_TRUE(port.sent.empty());
}

TEST_F(MenuFixture, UpgradesEveryFoundUnitWithTheLoadedImage) {
  PutFile();  // not read again: the image loaded at start-up is sent
  fs.st.DevicesFound = 2;
  fs.st.PortConnected[0] = fs.st.PortConnected[1] = 1;
  fs.st.PortRxLen[0] = 17;
  fs.st.PortRxLen[1] = 9;
  FirmWareGradeXClick(fs.st);
  EXPECT_TRUE(fs.boxes.shown.empty());
  for (int slot : {0, 1}) {
    EXPECT_EQ(fs.st.PortRxLen[slot], 0);
    EXPECT_EQ(fs.st.PortState[slot], 160);
    ASSERT_EQ(fs.ports[slot].sent.size(), 1u);
    EXPECT_EQ(Sent(slot, 0)[0], 0xB7);
  }
  EXPECT_TRUE(fs.ports[2].sent.empty());
  EXPECT_EQ(fs.st.FirmwareOK, 1);
}

TEST_F(MenuFixture, NoUnitOrNoValidFileSaysNoDevice) {
  PutFile();
  struct Case {
    uint8_t ok, found;
  };
  for (Case c : {Case{0, 3}, Case{1, 0}, Case{0, 0}}) {
    fs.boxes.shown.clear();
    fs.st.FirmwareOK = c.ok;
    fs.st.DevicesFound = c.found;
    FirmWareGradeXClick(fs.st);
    ASSERT_EQ(fs.boxes.shown.size(), 1u);
    EXPECT_EQ(fs.boxes.shown[0].text, "No Device is Connected!");
  }
  for (auto& port : fs.ports) EXPECT_TRUE(port.sent.empty());
}

TEST_F(MenuFixture, MoreFoundThanSlotsStopsAtTheLastSlot) {
  PutFile();
  fs.st.DevicesFound = 200;
  for (int slot = 0; slot < kPortSlots; ++slot) fs.st.PortConnected[slot] = 1;
  FirmWareGradeXClick(fs.st);
  for (auto& port : fs.ports) EXPECT_EQ(port.sent.size(), 1u);
  EXPECT_EQ(fs.st.PortState[10], 0);
}

// Which units the command starts: those identified, wherever they sit,
// and none while any unit works.
struct FoundCase {
  const char* name;
  std::vector<int> identified, busy, started;
  std::vector<std::string> lines;
};

class FoundUnits : public MenuFixture, public ::testing::WithParamInterface<FoundCase> {};

TEST_P(FoundUnits, AreTheOnesUpgraded) {
  PutFile();
  const FoundCase& c = GetParam();
  fs.st.DevicesFound = static_cast<uint8_t>(c.identified.size());
  for (int slot : c.identified) fs.st.PortConnected[slot] = 1;
  for (int slot : c.busy) fs.st.PortBusy[slot] = 1;
  FirmWareGradeXClick(fs.st);
  for (int slot = 0; slot < kPortSlots; ++slot) {
    const bool started = std::find(c.started.begin(), c.started.end(), slot) != c.started.end();
    EXPECT_EQ(fs.ports[slot].sent.size(), started ? 1u : 0u) << "slot " << slot;
    EXPECT_EQ(fs.st.PortUpgrading[slot], started ? 1 : 0) << "slot " << slot;
  }
  EXPECT_EQ(fs.memo.lines, c.lines);
  EXPECT_TRUE(fs.boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Slots, FoundUnits,
    ::testing::Values(
        FoundCase{"SilentUnitBetween",
                  {0, 2, 3},
                  {},
                  {0, 2, 3},
                  {"> 10:15:02 Start to Upgrade Programmer 1s Firmware......",
                   "> 10:15:02 Start to Upgrade Programmer 3s Firmware......",
                   "> 10:15:02 Start to Upgrade Programmer 4s Firmware......"}},
        FoundCase{"LastSlotOnly", {9}, {}, {9}, {"> 10:15:02 Start to Upgrade Programmer 10s Firmware......"}},
        FoundCase{"BusyUnit", {0, 1}, {1}, {}, {"> 10:15:02 Programmer 2 is busy, please wait!"}},
        // A unit upgrading after it gave only the generic identity.
        FoundCase{"UpgradingUnit", {0, 4}, {4}, {}, {"> 10:15:02 Programmer 5 is busy, please wait!"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The edition's texts: an upgrade with a missing file, then one that runs
// through, then a failed one, logged and shown once per edition.
std::vector<std::string> UpgradeTranscript(const LinkTexts& texts) {
  testing::FakeStation fs;
  fs.st.LinkText = &texts;
  for (auto& port : fs.ports) port.open = true;
  const fsys::path dir = fsys::temp_directory_path() / ("zek_fwtexts_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  fs.st.AppDir = dir.string() + "/";
  fs.st.DevicesFound = 2;
  fs.st.PortConnected[0] = fs.st.PortConnected[1] = 1;
  FirmWareGradeXClick(fs.st);  // no file yet
  testing::FirmwareRecipe r;
  r.end_address = 0x17FF;  // two blocks
  r.image = std::vector<uint8_t>(3000, 0x5A);
  const std::vector<uint8_t> file = testing::BuildFirmwareFile(r);
  testing::WriteBytes((dir / "DKxLumZEK.FWR").string(), file);
  LoadFirmwareBytes(fs.st, file, "DKxLumZEK.FWR");
  FirmWareGradeXClick(fs.st);
  HandleUpgradeReply(fs.st, 6, 0);
  HandleUpgradeReply(fs.st, 6, 0);
  HandleUpgradeReply(fs.st, 44, 1);
  fsys::remove_all(dir);
  std::vector<std::string> transcript;
  for (const auto& box : fs.boxes.shown) transcript.push_back("box: " + box.text);
  transcript.insert(transcript.end(), fs.memo.lines.begin(), fs.memo.lines.end());
  return transcript;
}

TEST(LinkTexts, TheChineseEditionChangesExactlyItsFourTexts) {
  const std::string dir = (fsys::temp_directory_path() / ("zek_fwtexts_" + std::to_string(::getpid()))).string();
  EXPECT_EQ(StationState().LinkText, &kEnglishLinkTexts);  // English unless the window says otherwise
  std::vector<std::string> english = UpgradeTranscript(kEnglishLinkTexts);
  std::vector<std::string> chinese = UpgradeTranscript(kChineseTexts);
  ASSERT_EQ(english.size(), chinese.size());
  const std::map<std::string, std::string> changed = {
      {"box: File \"" + dir + "/DKxLumZEK.FWR\"Not Found, Please Confirm!",
       "box: 文件\"" + dir + "/DKxLumZEK.FWR\"没有找到，请确认！"},
      {"> 10:15:02 Start to Upgrade Programmer 1s Firmware......", "> 10:15:02 开始升级编程器1的固件......"},
      {"> 10:15:02 Start to Upgrade Programmer 2s Firmware......", "> 10:15:02 开始升级编程器2的固件......"},
      {"> 10:15:02 Programmer 1s Firmware Fpgrade Completed!", "> 10:15:02 编程器1固件升级成功！"},
  };
  size_t differing = 0;
  for (size_t i = 0; i < english.size(); ++i) {
    auto it = changed.find(english[i]);
    EXPECT_EQ(chinese[i], it == changed.end() ? english[i] : it->second) << i;
    differing += english[i] != chinese[i];
  }
  EXPECT_EQ(differing, changed.size());
}

}  // namespace
}  // namespace zek
