#include "station/link/unit_discovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "station/link/packet_framing.h"
#include "station/link/port_events.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

using Bytes = std::vector<uint8_t>;

// An identity reply as a unit sends it: A3 A5 <mode>, the text length in
// bytes 6-7 and the text from byte 28.
Bytes IdentityReply(uint8_t mode, const std::string& text, int extra = 16) {
  Bytes packet(28 + text.size() + extra, 0);
  packet[0] = 0xA3;
  packet[1] = 0xA5;
  packet[2] = mode;
  packet[6] = static_cast<uint8_t>(text.size());
  packet[7] = static_cast<uint8_t>(text.size() >> 8);
  std::memcpy(packet.data() + 28, text.data(), text.size());
  return packet;
}

void SetFirmwareVersion(StationState& st, const char* version) {
  st.FirmwareVersion.fill(0);
  std::memcpy(st.FirmwareVersion.data(), version, std::min(std::strlen(version), st.FirmwareVersion.size() - 1));
}

// Puts the reply's frame in the slot's frame buffer and hands it over.
void Deliver(StationState& st, int port, const Bytes& packet) {
  uint16_t n = SlipEncode(packet, st.PortFrameBuf[port].span(), static_cast<uint16_t>(packet.size()));
  HandleIdentityReply(st, static_cast<uint16_t>(n - 5), port);  // the unit sends no fill bytes
}

struct VersionCase {
  const char* loaded;
  const char* reply_text;
  int result;
};

TEST(CheckIdentityReply, ComparesTheVersionTokenAsText) {
  const VersionCase cases[] = {
      {"V2.04", "DorvikLumqo-ZEK V2.05,more text", kIdentityAccepted},
      {"V2.05", "DorvikLumqo-ZEK V2.05,more text", kIdentityAccepted},
      {"V2.06", "DorvikLumqo-ZEK V2.05,more text", kIdentityOlderFirmware},
      {"V1.9", "DorvikLumqo-ZEK V1.10", kIdentityOlderFirmware},  // textual: "1" < "9"
      {"", "DorvikLumqo-ZEKV2.05", kIdentityAccepted},           // no token, no file
      {"V2.04", "DorvikLumqo-ZEKV2.05", kIdentityOlderFirmware},  // no token, a file
      {"", "DorvikLumqo-ZEK V0.01", kIdentityAccepted},
  };
  for (const auto& c : cases) {
    testing::FakeStation fs;
    SetFirmwareVersion(fs.st, c.loaded);
    std::string expected = kFullIdentity;
    EXPECT_EQ(CheckIdentityReply(fs.st, IdentityReply(0x53, c.reply_text), expected), c.result)
        << c.loaded << " / " << c.reply_text;
  }
}

TEST(CheckIdentityReply, RefusesWhatIsNotAnIdentityReply) {
  testing::FakeStation fs;
  std::string expected = kFullIdentity;
  Bytes reply = IdentityReply(0x53, "DorvikLumqo-ZEK");
  for (int at : {0, 1, 2}) {
    Bytes damaged = reply;
    damaged[at] ^= 0x01;
    EXPECT_EQ(CheckIdentityReply(fs.st, damaged, expected), kIdentityNotAReply) << at;
  }
  EXPECT_NE(CheckIdentityReply(fs.st, IdentityReply(0x53, "DorvikLumqo-ZEX"), expected), 0);
  EXPECT_EQ(expected, kFullIdentity);  // untouched on a mismatch
}

TEST(CheckIdentityReply, UnprintableBytesEndTheText) {
  testing::FakeStation fs;
  std::string expected = kFullIdentity;
  Bytes reply = IdentityReply(0x53, "DorvikLumqo-ZEK V2.05\x01tail");
  ASSERT_EQ(CheckIdentityReply(fs.st, reply, expected), 0);
  EXPECT_EQ(expected, "DorvikLumqo-ZEK V2.05");
}

TEST(CheckTextReply, AcceptsOnlyTheUpgradeModeWithAText) {
  std::string expected = kGenericIdentity;
  EXPECT_EQ(CheckTextReply(IdentityReply(0x35, "DorvikLumqo-XY"), expected), 0);
  EXPECT_EQ(expected, "DorvikLumqo-XY");
  expected = kGenericIdentity;
  EXPECT_EQ(CheckTextReply(IdentityReply(0x53, "DorvikLumqo"), expected), kIdentityNotAReply);
  EXPECT_EQ(CheckTextReply(IdentityReply(0x35, ""), expected), kIdentityNotAReply);
  EXPECT_EQ(CheckTextReply(IdentityReply(0x35, "Dorvik"), expected), kIdentityTextMismatch);
}

TEST(CheckTextReply, ATextLengthBeyondThePacketReadsNothingPastIt) {
  Bytes reply = IdentityReply(0x35, "DorvikLumqo", 0);
  reply[6] = 0xFF;
  reply[7] = 0xFF;
  std::string expected = kGenericIdentity;
  EXPECT_EQ(CheckTextReply(reply, expected), 0);
  EXPECT_EQ(expected, "DorvikLumqo");
}

TEST(HandleIdentityReply, IdentifiesTheUnitAndLogsItsText) {
  testing::FakeStation fs;
  SetFirmwareVersion(fs.st, "V2.04");
  fs.st.PortState[0] = 22;
  fs.st.PortTimeout[0] = 3;
  Deliver(fs.st, 0, IdentityReply(0x53, "DorvikLumqo-ZEK V2.05,Build 7"));
  EXPECT_EQ(fs.st.PortConnected[0], 1);
  EXPECT_EQ(fs.st.DevicesFound, 1);
  EXPECT_EQ(fs.st.PortState[0], 80);
  EXPECT_EQ(fs.st.PortTimeout[0], 500);
  EXPECT_TRUE(fs.gauges[0].enabled);
  EXPECT_EQ(fs.panel.caption, "DorvikLumqo-ZEK V2.05,Build 7");
  ASSERT_EQ(fs.memo.lines.size(), 1u);
  EXPECT_EQ(fs.memo.lines[0], "> 10:15:02 C1: Found Device 1 : DorvikLumqo-ZEK V2.05,Build 7!");
}

TEST(HandleIdentityReply, OlderFirmwareUpgradesOnlyInUpgradeMode) {
  testing::FakeStation fs;
  SetFirmwareVersion(fs.st, "V2.06");
  fs.st.FirmwareOK = 1;
  fs.ports[2].open = true;
  Deliver(fs.st, 2, IdentityReply(0x53, "DorvikLumqo-ZEK V2.05,x"));
  EXPECT_EQ(fs.st.PortConnected[2], 0);
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 C3: No device was found!");
  EXPECT_TRUE(fs.ports[2].sent.empty());

  Deliver(fs.st, 2, IdentityReply(0x35, "DorvikLumqo-ZEK V2.05,x"));
  EXPECT_EQ(fs.st.PortUpgrading[2], 1);
  EXPECT_EQ(fs.st.DevicesFound, 0);
  EXPECT_FALSE(fs.ports[2].sent.empty());
}

TEST(HandleIdentityReply, GenericIdentityInUpgradeModeStartsTheUpgrade) {
  testing::FakeStation fs;
  fs.st.FirmwareOK = 1;
  fs.ports[1].open = true;
  Deliver(fs.st, 1, IdentityReply(0x35, "DorvikLumqo Boot"));
  EXPECT_EQ(fs.st.PortUpgrading[1], 1);
}

// A unit already programming on its own reports before it is identified.
TEST(HandleIdentityReply, AnInfoPacketIsShownAndIdentifiesNothing) {
  testing::FakeStation fs;
  Bytes info{0xFD, 32, 0, 0, 0, 0, 2, 0, 0, 0};
  uint8_t sum = 0;
  for (int i = 0; i < 7; ++i) sum = static_cast<uint8_t>(sum + info[i]);
  info[7] = static_cast<uint8_t>(0u - sum);
  Deliver(fs.st, 1, info);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C2: Chip Blank Checking...."}));
  EXPECT_EQ(fs.gauges[1].progress, 50);
  EXPECT_EQ(fs.st.PortConnected[1], 0);
  EXPECT_EQ(fs.st.DevicesFound, 0);
  EXPECT_EQ(fs.st.PortUpgrading[1], 0);
}

// Only the decoded bytes of a frame count: an 8-byte frame carries no
// text, whatever an earlier reply left in the packet area.
TEST(HandleIdentityReply, BytesPastTheDecodedReplyAreAbsent) {
  for (uint8_t mode : {uint8_t{0x53}, uint8_t{0x35}}) {
    testing::FakeStation fs;
    fs.st.FirmwareOK = 1;
    fs.ports[3].open = true;
    Bytes earlier = IdentityReply(mode, mode == 0x53 ? "DorvikLumqo-ZEK V2.05" : "DorvikLumqo Boot");
    std::copy(earlier.begin(), earlier.end(), fs.st.PortPacketBuf[3].begin());
    Bytes header(earlier.begin(), earlier.begin() + 8);
    Deliver(fs.st, 3, header);
    EXPECT_EQ(fs.st.PortConnected[3], 0) << int{mode};
    EXPECT_EQ(fs.st.DevicesFound, 0) << int{mode};
    EXPECT_EQ(fs.st.PortUpgrading[3], 0) << int{mode};
    EXPECT_TRUE(fs.ports[3].sent.empty()) << int{mode};
    EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C4: No device was found!"})) << int{mode};
  }
}

TEST(HandleIdentityReply, ABadFrameIsIgnored) {
  testing::FakeStation fs;
  const uint8_t frame[] = {0xC0, 0xA3, 0xDB, 0x41, 0xC0};
  std::copy(std::begin(frame), std::end(frame), fs.st.PortFrameBuf[4].begin());
  HandleIdentityReply(fs.st, sizeof frame, 4);
  EXPECT_TRUE(fs.memo.lines.empty());
  EXPECT_EQ(fs.st.PortConnected[4], 0);
}

TEST(BitBtnFindCOMClick, OpensEveryListedPortThenQueriesEach) {
  testing::FakeStation fs;
  fs.st.PortSlotCount = 3;
  fs.port_list.items = {"COM3", "COM4", "COM7"};
  fs.st.PortRxLen[1] = 9;
  fs.st.DevicesFound = 2;
  fs.ports[0].open = true;  // left open by an earlier search
  for (int i = 0; i < 3; ++i) {
    fs.st.PortBusy[i] = 1;
    fs.gauges[i].enabled = true;
    fs.gauges[i].progress = 40;
    fs.gauges[i].color = kGaugeRed;
  }
  BitBtnFindCOMClick(fs.st);
  EXPECT_EQ(fs.st.DevicesFound, 0);
  EXPECT_EQ(fs.st.PortRxLen[1], 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(fs.st.PortBusy[i], 0) << i;
    EXPECT_FALSE(fs.gauges[i].enabled) << i;
    EXPECT_EQ(fs.gauges[i].progress, 0) << i;
    EXPECT_EQ(fs.gauges[i].color, kGaugeBlue) << i;
  }
  const Bytes query{0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(fs.ports[i].name, fs.port_list.items[i]);
    EXPECT_TRUE(fs.ports[i].open);
    ASSERT_EQ(fs.ports[i].sent.size(), 1u);
    EXPECT_EQ(fs.ports[i].sent[0], query);
    EXPECT_EQ(fs.st.PortTimeout[i], 500);
  }
  EXPECT_FALSE(fs.ports[3].open);
  EXPECT_EQ(fs.clock.sleeps, (std::vector<int>{50, 10, 10, 10}));
  EXPECT_EQ(fs.panel.caption, "Searching Devices............");
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 Checking Device 1 In COM3............",
                                                      "> 10:15:02 Checking Device 2 In COM4............",
                                                      "> 10:15:02 Checking Device 3 In COM7............"}));
}

// A saved ten-port list read back as one slot: a second search must close
// every port the first one opened before opening them again.
TEST(BitBtnFindCOMClick, ASecondSearchClosesEveryPortItOpens) {
  testing::FakeStation fs;
  fs.port_list.items = {"COM3", "COM4", "COM7"};
  fs.st.PortSlotCount = 3;
  BitBtnFindCOMClick(fs.st);
  fs.st.PortSlotCount = 1;
  fs.st.PortRxLen[2] = 9;
  fs.gauges[2].progress = 40;
  BitBtnFindCOMClick(fs.st);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(fs.ports[i].open) << i;
    EXPECT_EQ(fs.ports[i].opens, 2) << i;
    EXPECT_EQ(fs.ports[i].sent.size(), 2u) << i;
  }
  EXPECT_EQ(fs.st.PortRxLen[2], 0);
  EXPECT_EQ(fs.gauges[2].progress, 0);
}

TEST(BitBtnFreshClick, ClosesEverySlotAndReloadsTheList) {
  testing::FakeStation fs;
  fs.st.AppDir = ::testing::TempDir() + "fresh-click-";
  {
    std::ofstream ini(fs.st.AppDir + "ConfigZEK.ini");
    ini << "[Customers]\n[Connection]\nTOTDEV=2\nDEV1=COM7\nDEV2=COM3\n";
  }
  fs.st.PortSlotCount = 3;
  fs.port_list.items = {"COM1", "COM2", "COM9"};
  for (int i = 0; i < 3; ++i) {
    fs.ports[i].open = true;
    fs.st.PortConnected[i] = 1;
    fs.st.PortBusy[i] = 1;
  }
  BitBtnFreshClick(fs.st);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(fs.ports[i].open);
    EXPECT_EQ(fs.st.PortConnected[i], 0);
    EXPECT_EQ(fs.st.PortBusy[i], 0);
  }
  EXPECT_EQ(fs.st.PortSlotCount, 2);
  EXPECT_EQ(fs.port_list.items.size(), 2u);
  std::remove((fs.st.AppDir + "ConfigZEK.ini").c_str());
}

class FailingPort : public testing::FakeCommPort {
 public:
  void OpenPort() override { throw std::runtime_error("Error opening serial port:" + name); }
};

// An unplugged adapter, or a port another program holds, in the middle of
// the list: its error is shown in a box and the ports after it are still
// searched.
TEST(BitBtnFindCOMClick, APortThatCannotOpenIsReportedAndTheSearchGoesOn) {
  testing::FakeStation fs;
  FailingPort failing;
  fs.st.PortComm[1] = &failing;
  fs.st.PortSlotCount = 3;
  fs.port_list.items = {"COM3", "COM4", "COM7"};
  BitBtnFindCOMClick(fs.st);
  EXPECT_FALSE(failing.open);
  for (int slot : {0, 2}) {
    EXPECT_TRUE(fs.ports[slot].open) << slot;
    EXPECT_EQ(fs.ports[slot].sent.size(), 1u) << slot;
  }
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 Checking Device 1 In COM3............",
                                                      "> 10:15:02 Checking Device 2 In COM4............",
                                                      "> 10:15:02 Checking Device 3 In COM7............"}));
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].kind, "plain");
  EXPECT_EQ(fs.boxes.shown[0].text, "Error opening serial port:COM4");
}

// The list was saved with ten ports and read back as one slot, so the
// station holds more ports than PortSlotCount says; a hang-up then
// shortens the list. Both buttons must let go of every port they hold.
class HeldPorts : public ::testing::Test {
 protected:
  HeldPorts() {
    fs.st.PortSlotCount = 1;
    for (int slot = 0; slot < 4; ++slot) {
      fs.ports[slot].open = true;
      fs.ports[slot].name = "COM" + std::to_string(slot + 1);
      fs.st.PortConnected[slot] = 1;
      fs.st.PortBusy[slot] = 1;
    }
  }
  testing::FakeStation fs;
};

TEST_F(HeldPorts, FreshDeviceClosesEveryOpenSlot) {
  fs.st.AppDir = ::testing::TempDir() + "held-ports-";
  BitBtnFreshClick(fs.st);
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_FALSE(fs.ports[slot].open) << slot;
    EXPECT_EQ(fs.st.PortConnected[slot], 0) << slot;
    EXPECT_EQ(fs.st.PortBusy[slot], 0) << slot;
  }
}

TEST_F(HeldPorts, FindDeviceAfterAHangUpReopensTheListedPortsAndNoOther) {
  fs.port_list.items = {"COM1", "COM2", "COM3", "COM4"};
  LineCommRequestHangup(fs.st, 1);
  BitBtnFindCOMClick(fs.st);
  for (int slot = 0; slot < 3; ++slot) {
    EXPECT_TRUE(fs.ports[slot].open) << slot;
    EXPECT_EQ(fs.ports[slot].sent.size(), 1u) << slot;
  }
  EXPECT_EQ(fs.ports[2].name, "COM4");
  EXPECT_FALSE(fs.ports[3].open);
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(fs.st.PortConnected[slot], 0) << slot;
  for (const std::string& line : fs.memo.lines) EXPECT_EQ(line.find("Error opening"), std::string::npos) << line;
}

}  // namespace
}  // namespace zek
