#include "station/data/station_state.h"

namespace zek {

void InitPortTables(StationState& st, const std::array<CommPort*, kPortSlots>& comms,
                    const std::array<GaugeView*, kPortSlots>& gauges) {
  st.DevicesFound = 0;
  for (int p = 0; p < kPortSlots; ++p) {
    st.PortComm[p] = comms[p];
    st.PortGauge[p] = gauges[p];
    st.PortState[p] = kStateIdle;
    st.PortTimeout[p] = 200;
    st.PortBlockIndex[p] = 0;
    st.PortRxLen[p] = 0;
    st.PortConnected[p] = 0;
    st.PortUpgrading[p] = 0;
    st.PortAutoSeq[p] = 0;
    st.PortBusy[p] = 0;
  }
}

GaugeView& Gauge(StationState& st, int port) {
  if (port < 0 || port >= kPortSlots || st.PortGauge[port] == nullptr) return NullGauge();
  return *st.PortGauge[port];
}

}  // namespace zek
