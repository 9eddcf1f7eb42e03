// Arbitrary line bytes through SlipDecode and CheckPacket, with buffers of
// the station's sizes and with a tight packet area; guard bytes around the
// packet area catch any write past it.
#include <cstdint>
#include <cstring>
#include <vector>

#include "station/data/station_state.h"
#include "station/link/packet_framing.h"

namespace {

void DecodeAll(const uint8_t* data, size_t size, size_t packet_room) {
  std::vector<uint8_t> frame(zek::kFrameBufSize);
  size_t n = size < frame.size() ? size : frame.size();
  std::memcpy(frame.data(), data, n);
  std::vector<uint8_t> area(packet_room + 32, 0x5A);
  std::span<uint8_t> packet(area.data() + 16, packet_room);
  uint16_t count = static_cast<uint16_t>(n);
  while (count > 0) {
    uint16_t before = count, length = 0;
    uint8_t result = zek::SlipDecode(frame, packet, length, count);
    if (length > packet_room || count >= before) __builtin_trap();
    if (result == zek::kResultOk) zek::CheckPacket(packet, length);
  }
  for (size_t i = 0; i < 16; ++i)
    if (area[i] != 0x5A || area[area.size() - 1 - i] != 0x5A) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeAll(data, size, zek::kPacketBufSize);
  DecodeAll(data, size, 12);
  // The check on a raw packet of any length, too.
  std::vector<uint8_t> raw(data, data + size);
  zek::CheckPacket(raw, static_cast<uint16_t>(size > 0xFFFF ? 0xFFFF : size));
  return 0;
}
