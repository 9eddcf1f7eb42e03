// Reply handlers of the read-back of main memory and EEPROM data.
#include <algorithm>

#include "station/data/info_lines.h"
#include "station/link/command_builders.h"
#include "station/link/operation_steps.h"
#include "station/link/packet_framing.h"
#include "station/link/progress.h"

namespace zek {
namespace {

void SendReadBlockRequest(StationState& st, int port) { SendSettingsOnly(st, 0x9B, st.PortBlockIndex[port], port); }

}  // namespace

void OnReadOutReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  // Stale bytes of the packet area must never pass for chip data.
  const uint8_t* data = ReplyData(st, port, kBlockBytes);
  if (data == nullptr) return FailStep(st, kResultDataError, port);
  st.PortTimeout[port] = 500;
  const uint64_t at = static_cast<uint64_t>(st.ChipStartAddress) + st.PortBlockIndex[port] * 1024ull;
  const uint64_t size = st.ReadMainBuffer.size();
  // A block reaching past the read buffer keeps only what fits.
  if (at < size) std::copy_n(data, std::min<uint64_t>(kBlockBytes, size - at), st.ReadMainBuffer.data() + at);
  if (AdvanceBlock(st, port, 0, SendReadBlockRequest)) return;
  AddPortInfoLine(st, "Data has been read out!", port);
  EndProgress(st, false, port);
  st.Views.ReadBack->ShowReadMainData();
}

void OnReadEEPReply(StationState& st, uint8_t status, int port) {
  if (!Succeeded(status)) return FailStep(st, status, port);
  const uint8_t* data = ReplyData(st, port, kBlockBytes);
  if (data == nullptr) return FailStep(st, kResultDataError, port);
  std::copy_n(data, kBlockBytes, st.ReadEepBuffer.data());
  AddPortInfoLine(st, "Read Out EEP Data Success!", port);
  EndProgress(st, false, port);
  st.Views.ReadBack->ShowReadEepData();
}

}  // namespace zek
