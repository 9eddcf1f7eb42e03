#include "tests/support/reply_builder.h"

#include <algorithm>

#include "station/link/frame_extract.h"
#include "station/link/packet_framing.h"
#include "station/link/reply_dispatch.h"

namespace zek::testing {

Bytes ReplyPacket(uint8_t code, const Bytes& data, uint16_t parameter) {
  Bytes p(8 + data.size() + 2);
  const uint8_t header[8] = {code, static_cast<uint8_t>(parameter), static_cast<uint8_t>(parameter >> 8), 'E', 0, 0,
                             static_cast<uint8_t>(data.size()), static_cast<uint8_t>(data.size() >> 8)};
  std::copy(std::begin(header), std::end(header), p.begin());
  std::copy(data.begin(), data.end(), p.begin() + 8);
  uint16_t c = Check16Packet(p, 0, static_cast<uint32_t>(p.size() - 3));
  p[p.size() - 2] = static_cast<uint8_t>(c);
  p[p.size() - 1] = static_cast<uint8_t>(c >> 8);
  return p;
}

Bytes StatusReply(uint8_t code, uint8_t status) { return ReplyPacket(code, {status, 0}); }

Bytes Frame(const Bytes& packet) {
  Bytes out(2 * packet.size() + 7);
  uint16_t n = SlipEncode(packet, out, static_cast<uint16_t>(packet.size()));
  out.resize(n);
  return out;
}

Bytes IdentityReply(const std::string& text) {
  Bytes packet(28 + text.size() + 16, 0);
  packet[0] = 0xA3;
  packet[1] = 0xA5;
  packet[2] = 0x53;
  packet[6] = static_cast<uint8_t>(text.size());
  packet[7] = static_cast<uint8_t>(text.size() >> 8);
  std::copy(text.begin(), text.end(), packet.begin() + 28);
  return packet;
}

std::optional<Bytes> DecodeSent(const Bytes& frame) {
  Bytes copy = frame;
  Bytes packet(kPacketBufSize);
  uint16_t count = static_cast<uint16_t>(copy.size()), length = 0;
  if (SlipDecode(copy, packet, length, count) != 0) return std::nullopt;
  packet.resize(length);
  uint16_t c = Check16Packet(packet, 0, length - 3u);
  if (packet[length - 2] != (c & 0xFF) || packet[length - 1] != (c >> 8)) return std::nullopt;
  return packet;
}

namespace {

void ReceiveChunk(StationState& st, int port, const uint8_t* bytes, size_t n) {
  size_t room = kRxBufSize - st.PortRxLen[port];
  n = std::min(n, room);
  std::copy_n(bytes, n, st.PortRxBuf[port].data() + st.PortRxLen[port]);
  st.PortRxLen[port] = static_cast<uint16_t>(st.PortRxLen[port] + n);
  CutPendingFrames(st, port, [&](uint16_t frame_length) { HandleReplyPacket(st, frame_length, port); });
}

}  // namespace

void Receive(StationState& st, int port, const Bytes& bytes, std::mt19937* rng) {
  size_t at = 0;
  while (at < bytes.size()) {
    size_t n = bytes.size() - at;
    if (rng) n = std::min(n, std::uniform_int_distribution<size_t>(1, 700)(*rng));
    ReceiveChunk(st, port, bytes.data() + at, n);
    at += n;
  }
}

bool UnitLink::Answer(int port, const UnitScript& script, std::mt19937* rng) {
  auto& sent = fs.ports[port].sent;
  if (handled[port] >= sent.size()) return false;
  std::optional<Bytes> command = DecodeSent(sent[handled[port]++]);
  if (!command) return true;
  commands[port].push_back(*command);
  if (std::optional<Bytes> reply = script(port, *command)) Receive(fs.st, port, Frame(*reply), rng);
  return true;
}

void UnitLink::Run(const UnitScript& script, std::mt19937* rng) {
  for (bool busy = true; busy;) {
    busy = false;
    for (int p = 0; p < kPortSlots; ++p) busy = Answer(p, script, rng) || busy;
  }
}

std::vector<int> CommandCodes(const std::vector<Bytes>& commands) {
  std::vector<int> codes;
  for (const Bytes& c : commands) codes.push_back(c[0] == 0x93 ? (0x93 << 8 | c[1]) : c[0]);
  return codes;
}

std::vector<int> CommandParams(const std::vector<Bytes>& commands, uint8_t code) {
  std::vector<int> params;
  for (const Bytes& c : commands)
    if (c[0] == code) params.push_back(c[1] | (c[2] << 8));
  return params;
}

std::vector<int> UnitLink::Codes(int port) const { return CommandCodes(commands[port]); }

std::vector<int> UnitLink::Params(int port, uint8_t code) const { return CommandParams(commands[port], code); }

uint8_t ReadPattern(int port, uint32_t offset) {
  return static_cast<uint8_t>((offset * 7 + (offset >> 10) + port) & 0xFF);
}

Bytes VerifyReply(uint8_t status, uint32_t acc, uint16_t crc) {
  Bytes data(16, 0);
  data[0] = status;
  for (int i = 0; i < 4; ++i) data[10 + i] = static_cast<uint8_t>(acc >> (8 * i));
  data[14] = static_cast<uint8_t>(crc);
  data[15] = static_cast<uint8_t>(crc >> 8);
  return ReplyPacket(0x93, data, 0x55);
}

std::optional<Bytes> HealthyUnit(int port, const Bytes& command) {
  const uint8_t code = command[0];
  switch (code) {
    case 0x8A:
    case 0x86:
      return std::nullopt;
    case 0x93:
      if (command[1] == 0x55) return VerifyReply(6, 0x12345678, 0xBEEF);
      return StatusReply(code, 0);
    case 0x9B: {
      uint32_t base = static_cast<uint32_t>(command[1] | (command[2] << 8)) * 1024u;
      Bytes data(4096);
      for (uint32_t i = 0; i < data.size(); ++i) data[i] = ReadPattern(port, base + i);
      return ReplyPacket(code, data, static_cast<uint16_t>(command[1] | (command[2] << 8)));
    }
    case 0x9C: {
      Bytes data(4096);
      for (uint32_t i = 0; i < data.size(); ++i) data[i] = ReadPattern(port, 0x40000 + i);
      return ReplyPacket(code, data);
    }
    default:
      return StatusReply(code, 0);
  }
}

}  // namespace zek::testing
