// Reply handlers of the chip-writing steps: blank check, erase, program,
// EEPROM write, protection or option write, and the chip ID read.
#include "station/data/info_lines.h"
#include "station/link/command_builders.h"
#include "station/link/operation_steps.h"
#include "station/link/progress.h"

namespace zek {
namespace {

void SendNextProgramBlock(StationState& st, int port) { SendProgramBlock(st, 0x95, st.ChipStartAddress, port); }

}  // namespace

void OnBlankCheckReply(StationState& st, uint8_t status, int port) {
  const bool auto_seq = st.PortAutoSeq[port] != 0;
  if (Succeeded(status)) {
    AddPortInfoLine(st, "Current Chip is blank!", port);
    // A blank chip needs no erase.
    if (auto_seq) return StartProgram(st, port);
    return EndProgress(st, false, port);
  }
  const char* text = status == 21                   ? "Chip is not blank!"
                     : (status == 16 || status == 19) ? "Chip is Protected!"
                                                      : nullptr;
  if (text == nullptr) return FailStep(st, status, port);
  AddPortInfoLine(st, text, port);
  // Outside the sequence a chip that is not blank fails the check.
  if (auto_seq) return StartErase(st, port);
  EndProgress(st, true, port);
}

void OnEraseReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  AddPortInfoLine(st, "Chip has been erased!", port);
  if (st.PortAutoSeq[port]) return StartProgram(st, port);
  EndProgress(st, false, port);
}

void OnProgramReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  st.PortTimeout[port] = 500;
  if (AdvanceBlock(st, port, 0, SendNextProgramBlock)) return;
  if (st.EepStepsEnabled) return StartWriteOTP(st, port);
  if (st.PortAutoSeq[port]) return StartVerifyMain(st, port);
  EndProgress(st, false, port);
  AddPortInfoLine(st, "Programming Success!", port);
}

void OnOTPWriteReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  AddPortInfoLine(st, "EEP Data write success!", port);
  if (st.PortAutoSeq[port]) return StartVerifyMain(st, port);
  EndProgress(st, false, port);
}

void OnProtectReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  AddPortInfoLine(st, "Chip Protected data write success!", port);
  SendResetCommand(st, 0x86, port);
  EndProgress(st, false, port);
}

void OnSimpleReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  EndProgress(st, false, port);
}

}  // namespace zek
