#include "station/link/firmware_upgrade.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/packet_framing.h"
#include "station/link/packet_send.h"
#include "station/link/progress.h"
#include "station/link/slot_commands.h"

namespace zek {
namespace {

constexpr uint8_t kBlockCode = 0xB7;
constexpr uint8_t kFinishCode = 0xBD;
constexpr uint8_t kBlockDone = 6;  // the only status that counts as a written block
constexpr uint16_t kBlockDataLength = 0x1020;
constexpr size_t kMaskOffset = kPacketHeaderSize + kFirmwareBlockBytes;  // 2056
constexpr size_t kMaskGroups = 520;

void PutWord(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

uint16_t BlockCount(uint16_t end_address) {
  int above = std::max<int>(end_address, kFirmwareLowestEnd) - kFirmwareLowestEnd;
  return static_cast<uint16_t>(above / 1024 + 1);
}

// A failed block ends the upgrade with the unit's status; the slot is no
// longer upgrading. Status 0 is a failure here, so it must not read as
// "Operation Success!" with a beep.
void FailUpgrade(StationState& st, uint8_t status, uint8_t slot) {
  st.PortUpgrading[slot] = 0;
  ReportFailure(st, status, slot);
  EndProgress(st, true, slot);
}

}  // namespace

bool SendFirmwareBlock(StationState& st, uint16_t block, uint8_t slot) {
  if (slot >= kPortSlots) return false;
  uint8_t* p = st.PortPacketBuf[slot].data();
  uint16_t k = static_cast<uint16_t>(st.Random.Below(0xFFF5));
  p[0] = kBlockCode;
  p[1] = static_cast<uint8_t>(block * 4);
  PutWord(p + 2, k);
  p[4] = static_cast<uint8_t>(st.Random.Below(255));
  p[5] = static_cast<uint8_t>(st.Random.Below(255));
  PutWord(p + 6, kBlockDataLength);
  uint8_t* mask = p + kMaskOffset;
  for (size_t g = 0; g < kMaskGroups; ++g) {
    for (int b = 0; b < 3; ++b) mask[4 * g + b] = static_cast<uint8_t>(st.Random.Below(255));
    mask[4 * g + 3] = 0;
  }
  const uint8_t key[4] = {static_cast<uint8_t>(k), static_cast<uint8_t>(k >> 8), static_cast<uint8_t>(k), 0};
  const uint8_t* image = st.FirmwareImage.data() + (static_cast<size_t>(block) * kFirmwareBlockBytes) % kFirmwareImageSize;
  uint8_t* data = p + kPacketHeaderSize;
  for (size_t i = 0; i < kFirmwareBlockBytes; ++i) {
    // The fourth byte of each group is never sent.
    uint8_t plain = i % 4 == 3 ? 0 : image[i];
    data[i] = plain ^ key[i % 4] ^ mask[i];
  }
  return SendPacket(st, kFirmwareBlockPacketLength, slot);
}

bool SendUpgradeFinish(StationState& st, uint8_t slot) {
  if (slot >= kPortSlots) return false;
  const uint8_t finish[10] = {kFinishCode, 0x00, 'R', 'S', 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
  std::copy(std::begin(finish), std::end(finish), st.PortPacketBuf[slot].data());
  return SendPacket(st, sizeof finish, slot);
}

void StartFirmwareUpgrade(StationState& st, uint8_t slot) {
  if (st.FirmwareOK == 0 || slot >= kPortSlots) return;
  st.PortUpgrading[slot] = 1;
  st.PortConnected[slot] = 1;
  st.PortBusy[slot] = 1;
  st.PortState[slot] = kStateUpgrading;
  st.PortTimeout[slot] = 500;
  st.PortBlockIndex[slot] = 0;
  st.PortBlockCount[slot] = BlockCount(st.FirmwareEndAddress);
  GaugeView& gauge = Gauge(st, slot);
  gauge.SetProgress(2);
  gauge.SetMax(st.PortBlockCount[slot]);
  gauge.SetColor(kGaugeBlue);
  AddInfoLine(st, Format(st.LinkText->UpgradeStarted, {slot + 1}));
  SendFirmwareBlock(st, 0, slot);
}

void HandleUpgradeReply(StationState& st, uint8_t status, uint8_t slot) {
  if (slot >= kPortSlots) return;
  if (status != kBlockDone) {
    FailUpgrade(st, status, slot);
    return;
  }
  GaugeView& gauge = Gauge(st, slot);
  gauge.SetProgress(gauge.Progress() + 1);
  uint16_t next = ++st.PortBlockIndex[slot];
  if (next < st.PortBlockCount[slot]) {
    SendFirmwareBlock(st, next, slot);
    return;
  }
  st.PortUpgrading[slot] = 0;
  SendUpgradeFinish(st, slot);
  AddInfoLine(st, Format(st.LinkText->UpgradeCompleted, {slot + 1}));
  EndProgress(st, false, slot);
}

void FirmWareGradeXClick(StationState& st) {
  const std::string path = st.AppDir + kFirmwareFileName;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    st.FirmwareOK = 0;
    st.Views.Boxes->Plain(st.LinkText->FileMissingBefore + path + st.LinkText->FileMissingAfter);
    return;
  }
  // The units identified, wherever a silent or lost unit left gaps in the
  // slots: a count of found units says nothing about which slots hold them.
  const auto found = std::count(st.PortConnected.begin(), st.PortConnected.begin() + kPortSlots, uint8_t{1});
  if (st.FirmwareOK != 1 || found == 0) {
    st.Views.Boxes->Plain("No Device is Connected!");
    return;
  }
  // Firmware blocks sent into a running operation would corrupt it.
  const std::string refusal = BusyRefusal(st);
  if (!refusal.empty()) {
    AddInfoLine(st, refusal);
    return;
  }
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (st.PortConnected[slot] != 1) continue;
    st.PortRxLen[slot] = 0;
    StartFirmwareUpgrade(st, static_cast<uint8_t>(slot));
  }
}

}  // namespace zek
