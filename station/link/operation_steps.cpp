#include "station/link/operation_steps.h"

#include "station/data/info_lines.h"
#include "station/link/command_builders.h"
#include "station/link/operation_states.h"
#include "station/link/packet_framing.h"
#include "station/link/progress.h"

namespace zek {
namespace {

struct Step {
  uint8_t state;
  uint8_t time_gauge;
  uint16_t ticks;
  bool by_blocks;
  const char* text;
};

constexpr Step kDownloadMain{kStateDownloadMain, 0, 500, true, "Download Main Memory Data ......"};
constexpr Step kDownloadEEP{kStateDownloadEEP, 0, 300, false, "Download EEP Data ......"};
constexpr Step kBlankCheck{kStateBlankCheck, 1, 500, false, "Do Chip blank checking......"};
constexpr Step kErase{kStateErase, 1, 500, false, "Do Chip Erasing......"};
constexpr Step kProgram{kStateProgram, 0, 500, true, "Starting Data programming......"};
constexpr Step kWriteOTP{kStateWriteOTP, 0, 300, false, "Write chip OTP Data ......"};
constexpr Step kVerifyMain{kStateVerifyMain, 1, 500, false, "Do Chip data verification......"};
constexpr Step kVerifyEEP{kStateVerifyEEP, 1, 500, false, "Do Chip EEP Data verification......"};
constexpr Step kProtect{kStateProtect, 1, 500, false, "Write chip protected data......"};
constexpr Step kWriteOption{kStateProtect, 1, 500, false, "Write Chip Option Data......"};

// Everything of a step but its packet.
void Begin(StationState& st, const Step& step, int port) {
  st.PortState[port] = step.state;
  st.TimeGauge = step.time_gauge;
  StartProgress(st, step.ticks, step.by_blocks, port);
  AddPortInfoLine(st, step.text, port);
}

}  // namespace

void StartDownloadMain(StationState& st, int port) {
  Begin(st, kDownloadMain, port);
  SendFlashBlock(st, 0x55, st.PortBlockIndex[port], st.ChipStartAddress, port);
}

void StartDownloadEEP(StationState& st, int port) {
  Begin(st, kDownloadEEP, port);
  SendEEPBlock(st, port);
}

void StartBlankCheck(StationState& st, int port) {
  Begin(st, kBlankCheck, port);
  SendSettingsOnly(st, 0x93, 0x05, port);
}

void StartErase(StationState& st, int port) {
  Begin(st, kErase, port);
  SendSettingsOnly(st, 0x93, 0x03, port);
}

void StartProgram(StationState& st, int port) {
  Begin(st, kProgram, port);
  SendProgramBlock(st, 0x95, st.ChipStartAddress, port);
}

void StartWriteOTP(StationState& st, int port) {
  Begin(st, kWriteOTP, port);
  SendEEPProgram(st, port);
}

void StartVerifyMain(StationState& st, int port) {
  Begin(st, kVerifyMain, port);
  SendSettingsOnly(st, 0x93, 0x55, port);
}

void StartVerifyEEP(StationState& st, int port) {
  Begin(st, kVerifyEEP, port);
  SendSettingsOnly(st, 0x93, 0x56, port);
}

void StartProtect(StationState& st, int port) {
  Begin(st, kProtect, port);
  SendSettingsOnly(st, 0x93, 0x53, port);
}

void StartWriteOption(StationState& st, int port) {
  Begin(st, kWriteOption, port);
  SendOptionBlock(st, 0x93, 0x53, port);
}

void FailStep(StationState& st, uint8_t status, int port) {
  ReportFailure(st, status, port);
  EndProgress(st, true, port);
}

bool AdvanceBlock(StationState& st, int port, int gauge_offset, BlockSender send_next) {
  // Counted wide, so a block count near 0xFFFF ends instead of wrapping.
  const uint32_t next = st.PortBlockIndex[port] + 4u;
  st.PortBlockIndex[port] = static_cast<uint16_t>(next);
  const bool more = next < st.PortBlockCount[port];
  if (more) send_next(st, port);
  Gauge(st, port).SetProgress(static_cast<int>(next) + gauge_offset);
  return more;
}

const uint8_t* ReplyData(const StationState& st, int port, size_t count) {
  const size_t length = st.PortPacketLen[port];
  if (length > st.PortPacketBuf[port].size() || length < kPacketHeaderSize + count + 2) return nullptr;
  return st.PortPacketBuf[port].data() + kPacketHeaderSize;
}

}  // namespace zek
