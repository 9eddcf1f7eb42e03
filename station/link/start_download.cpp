#include "station/link/start_download.h"

#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/config_image.h"
#include "station/link/operation_states.h"
#include "station/link/progress.h"

namespace zek {

void StartDownload(StationState& st, int port) {
  st.TimeGauge = 0;
  st.PortRxLen[port] = 0;
  st.PortState[port] = kStateDownloadStart;
  AddInfoLine(st, Format("Programmer %d : Start to download data......", {port + 1}));
  StartProgress(st, 500, true, port);
  SendConfigImage(st, 0x53, static_cast<uint16_t>(st.Random.Below(65535)), port);
}

}  // namespace zek
