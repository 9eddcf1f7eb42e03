// Information packets of any content on any slot number: nothing is read
// outside the packet area, and the counters and log saves hold up over a
// long run (the station persists from input to input).

#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/link_firmware/bounded_memo.h"
#include "station/data/errors.h"
#include "station/link/info_packet.h"

namespace {

struct Harness {
  Harness() {
    char pattern[] = "/tmp/zek_info_fuzz_XXXXXX";
    const char* dir = mkdtemp(pattern);
    st.AppDir = std::string(dir ? dir : "/tmp") + "/";
    st.SharedInfoMemo = &memo;
    st.TimeSource = &clock;
    for (int p = 0; p < zek::kPortSlots; ++p) st.PortGauge[p] = &gauges[p];
  }
  zek::StationState st;
  zek::fuzzing::BoundedMemo memo;
  zek::fuzzing::PlainGauge gauges[zek::kPortSlots];
  zek::FixedClock clock{"2026-12-08", "10:15:02"};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness h;
  if (size == 0) return 0;
  // First byte: the slot, 0-11 so slots outside the table come up too.
  uint8_t slot = static_cast<uint8_t>(data[0] % 12);
  auto& packet = h.st.PortPacketBuf[std::min<int>(slot, zek::kPortSlots)];
  size_t n = std::min(size - 1, packet.size());
  std::copy(data + 1, data + 1 + n, packet.begin());
  try {
    zek::HandleInfoPacket(h.st, slot);
  } catch (const zek::FileError&) {
    // A failed log save reaches the window's general handler.
  }
  return 0;
}
