#include "tools/unit-sim/reply_packets.h"

#include <algorithm>

#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {

void AppendFrame(Bytes& out, std::span<const uint8_t> packet) {
  out.push_back(0xC0);
  for (uint8_t b : packet) {
    if (b == 0xC0) {
      out.push_back(0xDB);
      out.push_back(0xDC);
    } else if (b == 0xDB) {
      out.push_back(0xDB);
      out.push_back(0xDD);
    } else {
      out.push_back(b);
    }
  }
  out.push_back(0xC0);
}

void SealPacket(Bytes& packet) {
  uint16_t c = LineCheck16(packet);
  packet.push_back(static_cast<uint8_t>(c));
  packet.push_back(static_cast<uint8_t>(c >> 8));
}

Bytes DataReply(std::span<const uint8_t> command, std::span<const uint8_t> data) {
  Bytes p(8 + data.size(), 0);
  std::copy_n(command.begin(), 6, p.begin());
  Put16(p, 6, static_cast<uint16_t>(data.size()));
  std::copy(data.begin(), data.end(), p.begin() + 8);
  SealPacket(p);
  return p;
}

Bytes StatusReply(std::span<const uint8_t> command, uint8_t status) {
  const uint8_t data[2] = {status, 0};
  return DataReply(command, data);
}

Bytes InfoReport(uint8_t step, uint8_t status, uint16_t progress, uint16_t maximum) {
  Bytes p(8, 0);
  p[0] = 0xFD;
  p[1] = step;
  p[2] = status;
  Put16(p, 3, progress);
  Put16(p, 5, maximum);
  uint32_t sum = ByteSum(std::span(p).first(7));
  p[7] = static_cast<uint8_t>(0x100 - (sum & 0xFF));
  SealPacket(p);
  return p;
}

Bytes IdentityReply(const std::string& text, bool upgradable) {
  constexpr size_t kTextAt = 28, kTextAreaEnd = 101, kMaxText = 200;
  size_t n = std::min(text.size(), kMaxText);
  Bytes p(std::max(kTextAt + n + 1, kTextAreaEnd), 0);
  p[0] = 0xA3;
  p[1] = 0xA5;
  p[2] = upgradable ? 0x35 : 0x53;
  Put16(p, 6, static_cast<uint16_t>(n));
  std::copy_n(text.begin(), n, p.begin() + kTextAt);
  SealPacket(p);
  return p;
}

}  // namespace zek::sim
