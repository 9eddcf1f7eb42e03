#include "station/link/reply_dispatch.h"

#include "station/link/chip_info_display.h"
#include "station/link/firmware_upgrade.h"
#include "station/link/info_packet.h"
#include "station/link/operation_states.h"
#include "station/link/operation_steps.h"
#include "station/link/packet_framing.h"
#include "station/link/progress.h"

namespace zek {
namespace {

constexpr uint8_t kInfoPacketCode = 0xFD;
// Header, the status byte, the check.
constexpr uint16_t kShortestReply = kPacketHeaderSize + 1 + 2;

void ShowChipInformation(StationState& st, uint8_t status, int port) {
  if (st.ChipClassCode == 0) return ShowChipUID(st, status, port);
  if (st.ChipClassCode < 0x40) return ShowChipInfo(st, status, port);
  ShowChipInfoData(st, st.PortPacketBuf[port].span(), status, port);
}

}  // namespace

void HandleReplyPacket(StationState& st, uint16_t& frame_length, int port) {
  auto& packet = st.PortPacketBuf[port];
  uint16_t length = 0;
  const uint8_t decoded = SlipDecode(st.PortFrameBuf[port].span(), packet.span(), length, frame_length);
  st.PortPacketLen[port] = length;
  if (decoded != kResultOk) {
    ReportResult(st, decoded, port);
    EndProgress(st, true, port);
    return;
  }
  if (packet[0] == kInfoPacketCode) return HandleInfoPacket(st, static_cast<uint8_t>(port));
  uint8_t status = CheckPacket(packet.span(), length);
  if (status != kResultChecksumError && length < kShortestReply) status = kResultDataError;
  DispatchReply(st, status, port);
}

void DispatchReply(StationState& st, uint8_t status, int port) {
  switch (st.PortState[port]) {
    case kStateDownloadStart: return OnConfigImageReply(st, status, port);
    case kStateDownloadMain: return OnDownloadMainReply(st, status, port);
    case kStateDownloadEEP: return OnDownloadEEPReply(st, status, port);
    case kStateBlankCheck: return OnBlankCheckReply(st, status, port);
    case kStateErase: return OnEraseReply(st, status, port);
    case kStateProgram: return OnProgramReply(st, status, port);
    case kStateVerifyMain: return OnVerifyMainReply(st, status, port);
    case kStateProtect: return OnProtectReply(st, status, port);
    case kStateReadOut: return OnReadOutReply(st, status, port);
    case kStateReadChipID: return OnSimpleReply(st, status, port);
    case kStateReadChipInfo: return ShowChipInformation(st, status, port);
    case kStateReadChipOption: return ShowOptionBytes(st, status, port);
    case kStateWriteOTP: return OnOTPWriteReply(st, status, port);
    case kStateReadEEP: return OnReadEEPReply(st, status, port);
    case kStateVerifyEEP: return OnVerifyEEPReply(st, status, port);
    case kStateUpgrade: return HandleUpgradeReply(st, status, static_cast<uint8_t>(port));
    default: return HandleInfoPacket(st, static_cast<uint8_t>(port));
  }
}

}  // namespace zek
