#include "station/link/packet_framing.h"

#include <cstring>

#include "station/data/byte_sums.h"

namespace zek {

uint16_t Check16Packet(std::span<const uint8_t> packet, uint32_t start, uint32_t end) {
  return Check16(packet, start, end);
}

uint32_t NegSum16(std::span<const uint8_t> buffer, uint32_t start, uint32_t end) {
  if (start > 0xFFFFFF) return 0;
  uint16_t s = static_cast<uint16_t>(SumBytes(buffer, start, end));
  return (s ^ 0xFFFFu) + 1u;
}

uint16_t SlipEncode(std::span<const uint8_t> packet, std::span<uint8_t> out, uint16_t n) {
  if (n > packet.size()) return 0;
  size_t w = 0;
  auto put = [&](uint8_t b) {
    if (w < out.size()) out[w] = b;
    ++w;
  };
  put(kSlipEnd);
  for (uint16_t i = 0; i < n; ++i) {
    uint8_t b = packet[i];
    if (b == kSlipEnd) {
      put(kSlipEsc);
      put(kSlipEscEnd);
    } else if (b == kSlipEsc) {
      put(kSlipEsc);
      put(kSlipEscEsc);
    } else {
      put(b);
    }
  }
  put(kSlipEnd);
  for (int i = 0; i < 5; ++i) put(0xFF);
  if (w > out.size() || w > 0xFFFF) return 0;
  return static_cast<uint16_t>(w);
}

namespace {

// Drops the first `consumed` of `count` frame bytes, moving the rest forward.
void Consume(std::span<uint8_t> frame, uint16_t& count, size_t consumed) {
  if (consumed >= count) {
    count = 0;
    return;
  }
  std::memmove(frame.data(), frame.data() + consumed, count - consumed);
  count = static_cast<uint16_t>(count - consumed);
}

}  // namespace

uint8_t SlipDecode(std::span<uint8_t> frame, std::span<uint8_t> packet, uint16_t& out_length, uint16_t& count) {
  if (count > frame.size()) count = static_cast<uint16_t>(frame.size());
  out_length = 0;
  size_t i = 0;
  while (i < count && frame[i] != kSlipEnd) ++i;
  if (i >= count) {
    Consume(frame, count, count);
    return kResultDataError;
  }
  ++i;
  if (i < count && frame[i] == kSlipEnd) ++i;

  size_t w = 0;
  bool escaped = false;
  for (; i < count; ++i) {
    uint8_t b = frame[i];
    if (escaped) {
      escaped = false;
      if (b == kSlipEscEnd) {
        b = kSlipEnd;
      } else if (b == kSlipEscEsc) {
        b = kSlipEsc;
      } else {
        break;  // bad escape at this byte
      }
    } else if (b == kSlipEnd) {
      Consume(frame, count, i + 1);
      out_length = static_cast<uint16_t>(w);
      return w >= kPacketHeaderSize ? kResultOk : kResultDataError;
    } else if (b == kSlipEsc) {
      escaped = true;
      continue;
    }
    if (w >= packet.size()) break;  // longer than the packet area: bad
    packet[w++] = b;
  }
  Consume(frame, count, i + 1);
  return kResultDataError;
}

uint8_t CheckPacket(std::span<const uint8_t> packet, uint16_t length) {
  if (length < kPacketHeaderSize || length > packet.size()) return kResultDataError;
  uint16_t c = Check16Packet(packet, 0, length - 3u);
  uint16_t sent = static_cast<uint16_t>(packet[length - 2] | (packet[length - 1] << 8));
  if (c != sent) return kResultChecksumError;
  uint16_t data_length = static_cast<uint16_t>(packet[6] | (packet[7] << 8));
  if (data_length > 2) return kResultOk;
  return packet.size() > kPacketHeaderSize ? packet[kPacketHeaderSize] : kResultDataError;
}

}  // namespace zek
