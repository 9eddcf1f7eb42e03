#include "tests/support/fake_views.h"

namespace zek::testing {

FakeStation::FakeStation() {
  st.SharedInfoMemo = &memo;
  st.Views.Boxes = &boxes;
  st.Views.Beeper = &beeper;
  st.Views.ViewPageCtrl = &pages;
  st.Views.StatusBar = &status;
  st.Views.InfoPanel = &panel;
  st.Views.ComboBoxCOM = &port_list;
  st.TimeSource = &clock;
  std::array<CommPort*, kPortSlots> comms{};
  std::array<GaugeView*, kPortSlots> bound{};
  for (int p = 0; p < kPortSlots; ++p) {
    comms[p] = &ports[p];
    bound[p] = &gauges[p];
  }
  InitPortTables(st, comms, bound);
}

}  // namespace zek::testing
