#include "station/link/port_events.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "serial/comm_port.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"
#include "station/link/frame_extract.h"
#include "station/link/packet_framing.h"
#include "station/link/reply_dispatch.h"
#include "station/link/unit_discovery.h"

namespace zek {
namespace {

// Pending bytes never hold a complete frame, and none is as long as the
// buffer, so when a chunk would overflow it everything before the last
// delimiter is noise; a frame opened at that delimiter may still complete.
void MakeRoom(StationState& st, int port, uint16_t length) {
  if (st.PortRxLen[port] + length <= kRxBufSize) return;
  uint8_t* pending = st.PortRxBuf[port].data();
  std::span<const uint8_t> held(pending, st.PortRxLen[port]);
  auto last = std::find(held.rbegin(), held.rend(), kSlipEnd);
  size_t kept = static_cast<size_t>(last - held.rbegin()) + (last == held.rend() ? 0 : 1);
  if (last == held.rend() || kept + length > kRxBufSize) kept = 0;
  std::memmove(pending, pending + held.size() - kept, kept);
  st.PortRxLen[port] = static_cast<uint16_t>(kept);
}

}  // namespace

void LineCommReceiveData(StationState& st, int port, const uint8_t* buffer, uint16_t length) {
  if (port < 0 || port >= kPortSlots) return;
  st.PortTimeout[port] = 500;
  if (length > kRxBufSize) {
    buffer += length - kRxBufSize;
    length = kRxBufSize;
  }
  MakeRoom(st, port, length);
  std::memcpy(st.PortRxBuf[port].data() + st.PortRxLen[port], buffer, length);
  st.PortRxLen[port] = static_cast<uint16_t>(st.PortRxLen[port] + length);
  CutPendingFrames(st, port, [&st, port](uint16_t frame_length) {
    if (st.PortConnected[port] == 0)
      HandleIdentityReply(st, frame_length, port);
    else
      HandleReplyPacket(st, frame_length, port);
  });
}

void LineCommRequestHangup(StationState& st, int port) {
  if (port < 0 || port >= kPortSlots) return;
  CommPort* comm = st.PortComm[port];
  // Both threads of a failed port ask; the first request closes it.
  if (comm == nullptr || !comm->IsOpen()) return;
  comm->ClosePort();
  st.PortConnected[port] = 0;
  const std::string name = comm->CommName();
  PortListView& list = *st.Views.ComboBoxCOM;
  const std::vector<std::string> items = list.Items();
  const auto listed = std::find(items.begin(), items.end(), name);
  if (listed != items.end()) list.DeleteItem(static_cast<int>(listed - items.begin()));
  if (list.Items().empty()) list.SetText("Please connect the device......");
  AddPortInfoLine(st, Format("Port %s hung up!", {name}), port);
}

void LineCommReceiveError(StationState&, int, uint32_t) {}

}  // namespace zek
