#pragma once
// Operations are chains of steps per port slot. A step starter sets the
// slot's state code, TimeGauge and progress, logs its start text and sends
// its command at once; the reply handler of that state either ends the
// operation (EndProgress) or starts the next step. Slots never wait for
// one another. Main thread only.

#include <cstddef>
#include <cstdint>

#include "station/data/station_state.h"
#include "station/link/progress.h"

namespace zek {

// Step starters.
void StartDownloadMain(StationState& st, int port);
void StartDownloadEEP(StationState& st, int port);
void StartBlankCheck(StationState& st, int port);
void StartErase(StationState& st, int port);
void StartProgram(StationState& st, int port);
void StartWriteOTP(StationState& st, int port);
void StartVerifyMain(StationState& st, int port);
void StartVerifyEEP(StationState& st, int port);
void StartProtect(StationState& st, int port);
void StartWriteOption(StationState& st, int port);

// Reply handlers, each given the status of CheckPacket. Unless a handler
// says otherwise, 0 and 6 are success and any other status is reported
// and ends the operation failed.
void OnConfigImageReply(StationState& st, uint8_t status, int port);
void OnDownloadMainReply(StationState& st, uint8_t status, int port);
void OnDownloadEEPReply(StationState& st, uint8_t status, int port);
void OnBlankCheckReply(StationState& st, uint8_t status, int port);
void OnEraseReply(StationState& st, uint8_t status, int port);
void OnProgramReply(StationState& st, uint8_t status, int port);
void OnOTPWriteReply(StationState& st, uint8_t status, int port);
void OnVerifyMainReply(StationState& st, uint8_t status, int port);
void OnVerifyEEPReply(StationState& st, uint8_t status, int port);
void OnProtectReply(StationState& st, uint8_t status, int port);
void OnReadOutReply(StationState& st, uint8_t status, int port);
void OnReadEEPReply(StationState& st, uint8_t status, int port);
void OnSimpleReply(StationState& st, uint8_t status, int port);

// Shared by the handlers.
// Reports the status and ends the operation failed.
void FailStep(StationState& st, uint8_t status, int port);
// Sends the block at the port's PortBlockIndex.
using BlockSender = void (*)(StationState& st, int port);
// The block step: PortBlockIndex += 4 (1 KiB units, 4 KiB a packet); while
// blocks remain, `send_next` sends the next one; then the gauge goes to the
// new index plus gauge_offset. True while blocks remain. The block leaves
// before the gauge moves, so it never waits behind the window.
bool AdvanceBlock(StationState& st, int port, int gauge_offset, BlockSender send_next);
// Data byte 0 of the reply in PortPacketBuf[port] when the decoded reply
// carries at least `count` data bytes; else null.
const uint8_t* ReplyData(const StationState& st, int port, size_t count);

}  // namespace zek
