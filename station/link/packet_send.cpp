#include "station/link/packet_send.h"

#include "serial/comm_port.h"
#include "station/link/packet_framing.h"

namespace zek {

bool SendPacket(StationState& st, uint16_t length, int port) {
  auto& packet = st.PortPacketBuf[port];
  if (length < 1 || length + 2u > packet.size()) return false;
  uint16_t c = Check16Packet(packet.span(), 0, length - 1u);
  packet[length] = static_cast<uint8_t>(c & 0xFF);
  packet[length + 1] = static_cast<uint8_t>(c >> 8);
  uint16_t n = SlipEncode(packet.span(), st.PortTxBuf[port].span(), static_cast<uint16_t>(length + 2));
  if (n == 0 || st.PortComm[port] == nullptr) return false;
  return st.PortComm[port]->SendBuffer(st.PortTxBuf[port].data(), n);
}

}  // namespace zek
