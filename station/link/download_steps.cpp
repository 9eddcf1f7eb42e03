// Reply handlers of the download chain: configuration image, main-memory
// blocks, then (with the EEPROM steps) the EEPROM block.
#include "station/data/info_lines.h"
#include "station/link/command_builders.h"
#include "station/link/operation_steps.h"
#include "station/link/progress.h"
#include "station/link/start_download.h"

namespace zek {
namespace {

void FinishDownload(StationState& st, int port) {
  EndProgress(st, false, port);
  CountDownloadSuccess(st, port);
  AddPortInfoLine(st, "Download Success!", port);
  SendResetCommand(st, 0x8A, port);
}

void SendDownloadBlock(StationState& st, int port) {
  SendFlashBlock(st, 0x55, st.PortBlockIndex[port], st.ChipStartAddress, port);
}

}  // namespace

void OnConfigImageReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  StartDownloadMain(st, port);
}

void OnDownloadMainReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  if (AdvanceBlock(st, port, 1, SendDownloadBlock)) return;
  if (st.EepStepsEnabled) return StartDownloadEEP(st, port);
  FinishDownload(st, port);
}

void OnDownloadEEPReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  FinishDownload(st, port);
}

}  // namespace zek
