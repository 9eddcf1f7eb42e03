#include "station/link/timeouts.h"

#include <algorithm>

#include "station/data/info_lines.h"
#include "station/link/progress.h"

namespace zek {

void CountDownTimeouts(StationState& st) {
  for (int slot = 0; slot < kPortSlots; ++slot) {
    if (st.PortBusy[slot] == 0) continue;
    st.PortTimeout[slot] = static_cast<uint16_t>(st.PortTimeout[slot] - 1);
    if (st.TimeGauge != 0) {
      GaugeView& gauge = Gauge(st, slot);
      gauge.SetProgress(std::min(gauge.Progress() + 1, gauge.Max()));
    }
    if (st.PortTimeout[slot] == 0) {
      AddPortInfoLine(st, "Operation Time Out!", slot);
      EndProgress(st, true, slot);
    }
  }
}

bool CommandLineRunFinished(const StationState& st) {
  const bool pending = std::any_of(st.PortDownload.begin(), st.PortDownload.end(),
                                   [](uint8_t d) { return d == kDownloadPending; });
  return st.AutoExit != 0 && st.DownloadsDone != 0 && !pending;
}

}  // namespace zek
