#include "station/link/port_events.h"

#include <cstring>

#include "serial/comm_port.h"
#include "station/link/frame_extract.h"
#include "station/link/reply_dispatch.h"
#include "station/link/unit_discovery.h"

namespace zek {

void LineCommReceiveData(StationState& st, int port, const uint8_t* buffer, uint16_t length) {
  if (port < 0 || port >= kPortSlots) return;
  st.PortTimeout[port] = 500;
  if (length > kRxBufSize) {
    buffer += length - kRxBufSize;
    length = kRxBufSize;
  }
  if (st.PortRxLen[port] + length > kRxBufSize) st.PortRxLen[port] = 0;
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
  if (st.PortComm[port] != nullptr) st.PortComm[port]->ClosePort();
  st.PortConnected[port] = 0;
  PortListView& list = *st.Views.ComboBoxCOM;
  if (!list.Items().empty()) list.DeleteItem(0);
  if (list.Items().empty()) list.SetText("Please connect the device......");
}

void LineCommReceiveError(StationState&, int, uint32_t) {}

}  // namespace zek
