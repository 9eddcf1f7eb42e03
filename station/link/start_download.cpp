#include "station/link/start_download.h"

#include "serial/comm_port.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/config_image.h"
#include "station/link/operation_states.h"
#include "station/link/progress.h"

namespace zek {

void StartDownload(StationState& st, int port) {
  // Until this download succeeds the unit holds nothing whole.
  if (st.PortDownload[port] == kDownloadSucceeded) --st.DownloadsDone;
  st.PortDownload[port] = kDownloadPending;
  st.TimeGauge = 0;
  st.PortRxLen[port] = 0;
  st.PortState[port] = kStateDownloadStart;
  AddInfoLine(st, Format("Programmer %d : Start to download data......", {port + 1}));
  StartProgress(st, 500, true, port);
  SendConfigImage(st, 0x53, static_cast<uint16_t>(st.Random.Below(65535)), port);
}

int StartCommandLineDownload(StationState& st) {
  st.DownloadsDone = 0;
  st.PortDownload.fill(kDownloadNone);
  int started = 0;
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (st.PortConnected[slot] == 0 || st.PortUpgrading[slot] != 0) continue;
    StartDownload(st, slot);
    ++started;
  }
  return started;
}

bool OpenPortsIdentified(const StationState& st) {
  // By slot: a hang-up shortens the list but leaves the later slots open.
  for (int slot = 0; slot < kPortSlots; ++slot) {
    const bool open = st.PortComm[slot] != nullptr && st.PortComm[slot]->IsOpen();
    if (open && st.PortConnected[slot] == 0) return false;
  }
  return true;
}

void CountDownloadSuccess(StationState& st, int port) {
  if (st.PortDownload[port] != kDownloadPending) return;
  st.PortDownload[port] = kDownloadSucceeded;
  ++st.DownloadsDone;
}

}  // namespace zek
