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

namespace {

// Finds the next 0xC0 or 0xDB of a byte range. Each of the two bytes is
// searched with memchr and its position kept until passed, so a long run of
// plain bytes is skipped at memchr's speed and the range is scanned once
// per byte value.
class SpecialBytes {
 public:
  SpecialBytes(const uint8_t* begin, const uint8_t* end)
      : end_(end), next_end_(Find(begin, kSlipEnd)), next_esc_(Find(begin, kSlipEsc)) {}
  // The first 0xC0 or 0xDB at or after p (end when none).
  const uint8_t* From(const uint8_t* p) {
    if (p < end_ && (*p == kSlipEnd || *p == kSlipEsc)) return p;
    if (next_end_ < p) next_end_ = Find(p, kSlipEnd);
    if (next_esc_ < p) next_esc_ = Find(p, kSlipEsc);
    return next_end_ < next_esc_ ? next_end_ : next_esc_;
  }

 private:
  const uint8_t* Find(const uint8_t* p, uint8_t b) const {
    const void* hit = std::memchr(p, b, static_cast<size_t>(end_ - p));
    return hit ? static_cast<const uint8_t*>(hit) : end_;
  }
  const uint8_t* end_;
  const uint8_t* next_end_;
  const uint8_t* next_esc_;
};

}  // namespace

uint16_t SlipEncode(std::span<const uint8_t> packet, std::span<uint8_t> out, uint16_t n) {
  if (n > packet.size()) return 0;
  // Every byte escaped, both delimiters and the five fill bytes.
  if (2u * n + 7u > out.size()) {
    size_t needed = 7;
    for (uint16_t i = 0; i < n; ++i) needed += (packet[i] == kSlipEnd || packet[i] == kSlipEsc) ? 2 : 1;
    if (needed > out.size() || needed > 0xFFFF) return 0;
  }
  uint8_t* w = out.data();
  *w++ = kSlipEnd;
  const uint8_t* p = packet.data();
  const uint8_t* const end = p + n;
  SpecialBytes special(p, end);
  while (p < end) {
    const uint8_t* stop = special.From(p);
    if (stop != p) {
      std::memcpy(w, p, static_cast<size_t>(stop - p));
      w += stop - p;
      if (stop == end) break;
    }
    // 0xC0 -> DB DC, 0xDB -> DB DD, without a branch on which.
    *w++ = kSlipEsc;
    *w++ = static_cast<uint8_t>(kSlipEscEnd + (*stop == kSlipEsc));
    p = stop + 1;
  }
  *w++ = kSlipEnd;
  for (int i = 0; i < 5; ++i) *w++ = 0xFF;
  size_t written = static_cast<size_t>(w - out.data());
  return written > 0xFFFF ? 0 : static_cast<uint16_t>(written);
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
  const size_t room = packet.size();
  SpecialBytes special(frame.data() + i, frame.data() + count);
  while (i < count) {
    // Plain bytes up to the next delimiter or escape, as far as they fit.
    size_t stop = static_cast<size_t>(special.From(frame.data() + i) - frame.data());
    size_t run = stop - i;
    if (run > room - w) {
      i += room - w;  // longer than the packet area: bad at the first byte that does not fit
      break;
    }
    if (run != 0) {
      std::memcpy(packet.data() + w, frame.data() + i, run);
      w += run;
      i = stop;
    }
    if (i >= count) break;  // no closing delimiter
    if (frame[i] == kSlipEnd) {
      Consume(frame, count, i + 1);
      out_length = static_cast<uint16_t>(w);
      return w >= kPacketHeaderSize ? kResultOk : kResultDataError;
    }
    if (++i >= count) break;  // the frame ends inside an escape
    uint8_t b;
    if (frame[i] == kSlipEscEnd) {
      b = kSlipEnd;
    } else if (frame[i] == kSlipEscEsc) {
      b = kSlipEsc;
    } else {
      break;  // bad escape at this byte
    }
    if (w >= room) break;
    packet[w++] = b;
    ++i;
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
