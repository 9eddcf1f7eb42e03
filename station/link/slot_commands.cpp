#include "station/link/slot_commands.h"

#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/command_builders.h"
#include "station/link/operation_states.h"
#include "station/link/operation_steps.h"
#include "station/link/progress.h"
#include "station/link/start_download.h"

namespace zek {
namespace {

constexpr char kNoUnit[] = "Please connect the device first!";
constexpr char kUnitBusy[] = "Programmer %d is busy, please wait!";

// Visits the eligible slots in ascending order; returns how many.
template <typename F>
int ForEligibleSlots(StationState& st, F&& start) {
  int started = 0;
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (!SlotEligible(st, slot)) continue;
    start(slot);
    ++started;
  }
  return started;
}

void StartChipDataRead(StationState& st, uint8_t state, const char* line, uint16_t sub_code, int port) {
  st.PortState[port] = state;
  AddInfoLine(st, Format(line, {port + 1}));
  StartProgress(st, 200, false, port);
  SendSettingsOnly(st, 0x93, sub_code, port);
}

}  // namespace

bool SlotEligible(const StationState& st, int slot) {
  return slot >= 0 && slot < st.PortSlotCount && slot < kPortSlots && st.PortConnected[slot] == 1 &&
         st.PortBusy[slot] == 0;
}

int StartOnEligibleSlots(StationState& st, const SlotCommand& command) {
  if (command.TimeGauge >= 0) st.TimeGauge = static_cast<uint8_t>(command.TimeGauge);
  const int started = ForEligibleSlots(st, [&](int slot) {
    st.PortRxLen[slot] = 0;
    st.PortAutoSeq[slot] = 0;
    if (command.SlotLine != nullptr) AddInfoLine(st, Format(command.SlotLine, {slot + 1}));
    command.Start(st, slot);
  });
  if (started == 0) AddInfoLine(st, kNoUnit);
  return started;
}

int StartAutoSequence(StationState& st) {
  const int started = ForEligibleSlots(st, [&](int slot) {
    st.PortAutoSeq[slot] = 1;
    AddInfoLine(st, Format("Chip %d : Start Auto-Programming, do chip blank checking......", {slot + 1}));
    StartBlankCheck(st, slot);
  });
  if (started == 0) AddInfoLine(st, kNoUnit);
  return started;
}

int StartDownloadOnEligibleSlots(StationState& st) {
  return ForEligibleSlots(st, [&](int slot) { StartDownload(st, slot); });
}

void StartReadChipID(StationState& st, int port) {
  StartChipDataRead(st, kStateReadChipID, "Chip %d : Read Chip ID data......", 0x36, port);
}

void StartReadChipInfo(StationState& st, int port) {
  StartChipDataRead(st, kStateReadChipInfo, "Chip %d : Read Chip Info Memory......", 0x33, port);
}

void StartReadChipOption(StationState& st, int port) {
  StartChipDataRead(st, kStateReadChipOption, "Chip %d : Read Chip Option Data......", 0x35, port);
}

std::string BusyRefusal(const StationState& st) {
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (st.PortBusy[slot] != 0) return Format(kUnitBusy, {slot + 1});
  }
  return {};
}

std::string ReadBackRefusal(const StationState& st) {
  if (st.PortConnected[0] == 0) return kNoUnit;
  if (st.PortBusy[0] != 0) return Format(kUnitBusy, {1});
  return {};
}

void StartReadMainBack(StationState& st) {
  AddPlainLine(st, "");
  AddInfoLine(st, "Chip 1 : Read chip all memory......");
  st.PortRxLen[0] = 0;
  st.TimeGauge = 0;
  st.PortAutoSeq[0] = 0;
  st.PortState[0] = kStateReadOut;
  StartProgress(st, st.FlashSizeKB, true, 0);
  SendSettingsOnly(st, 0x9B, st.PortBlockIndex[0], 0);
}

void BeginReadEepBack(StationState& st) {
  st.PortRxLen[0] = 0;
  st.PortState[0] = kStateReadEEP;
  st.TimeGauge = 0;
  st.PortAutoSeq[0] = 0;
  AddPlainLine(st, "");
  AddInfoLine(st, "Chip 1 : Read Chip EEP Data......");
}

void SendReadEepBack(StationState& st) {
  StartProgress(st, 300, false, 0);
  SendSettingsOnly(st, 0x9C, 0, 0);
}

void ResetConnectedUnits(StationState& st) {
  for (int slot = 0; slot < st.PortSlotCount && slot < kPortSlots; ++slot) {
    if (st.PortConnected[slot] == 1) SendResetCommand(st, 0x8A, slot);
  }
}

}  // namespace zek
