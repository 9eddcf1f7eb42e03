#include "tests/unit-sim/station_side.h"

#include <algorithm>
#include <stdexcept>

#include "station/data/byte_sums.h"
#include "station/link/packet_framing.h"
#include "station/link/scramble_key.h"

namespace zek::sim::testing {
namespace {

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

}  // namespace

void SetSums(ChipSetup& s, const Bytes& main, const Bytes& eep) {
  uint32_t end = s.flash_kb * 1024u - 1;
  s.main_acc = static_cast<uint16_t>(zek::SumBytes(main, 0, end));
  s.main_crc = zek::Check16(main, 0, end);
  if (s.eep_size > 0) {
    s.eep_acc = static_cast<uint16_t>(zek::SumBytes(eep, 0, s.eep_size - 1u));
    s.eep_crc = zek::Check16(eep, 0, s.eep_size - 1u);
  }
}

Bytes SettingsBlock(const ChipSetup& s) {
  Bytes b(64, 0);
  b[1] = 0x45;
  b[2] = s.chip_class;
  b[3] = 2;
  b[4] = 0x11;  // the station's random byte and word
  b[5] = 7;
  Put16(b, 6, 0x2233);
  Put16(b, 8, s.flash_kb);
  Put16(b, 10, s.eep_size);
  Put16(b, 12, 512);
  Put16(b, 14, s.info_size);
  b[17] = s.ctrl2;
  b[19] = s.ctrl4;
  Put32(b, 24, 0);
  Put32(b, 28, s.option_start);
  Put16(b, 32, s.main_crc);
  Put16(b, 34, s.main_acc);
  Put16(b, 36, s.eep_crc);
  Put16(b, 38, s.eep_acc);
  b[48] = 17;
  b[49] = 17;
  b[50] = 10;
  b[53] = 70;
  return b;
}

Bytes Command(uint8_t code, uint16_t param, const Bytes& data, const ChipSetup& s) {
  Bytes p(8 + data.size(), 0);
  p[0] = code;
  Put16(p, 1, param);
  p[3] = 0x45;
  p[4] = s.chip_class;
  p[5] = 2;
  Put16(p, 6, static_cast<uint32_t>(data.size()));
  std::copy(data.begin(), data.end(), p.begin() + 8);
  return p;
}

Bytes SettingsOnly(uint8_t code, uint16_t param, const ChipSetup& s) {
  return Command(code, param, SettingsBlock(s), s);
}

Bytes WithSettings(uint8_t code, uint16_t param, const ChipSetup& s, const Bytes& payload) {
  Bytes data = SettingsBlock(s);
  data.insert(data.end(), payload.begin(), payload.end());
  return Command(code, param, data, s);
}

Bytes ConfigImage(const ChipSetup& s, const Bytes& options) {
  Bytes im(1536, 0);
  im[0] = 'P';
  im[1] = 'X';
  im[2] = 'Z';
  im[3] = 'W';
  Bytes set = SettingsBlock(s);
  std::copy(set.begin(), set.end(), im.begin() + 4);
  Put32(im, 68, 0xFFFFFFFF);
  Put16(im, 72, 1);
  Put32(im, 74, 0x7FF0);
  Put32(im, 78, 1000);
  for (size_t i = 84; i < 252; ++i) im[i] = static_cast<uint8_t>(i * 37);
  const std::string chip = "BF7412", file = "demo.hex";
  std::copy(chip.begin(), chip.end(), im.begin() + 256);
  std::copy(file.begin(), file.end(), im.begin() + 272);
  std::copy(options.begin(), options.begin() + 192, im.begin() + 320);
  std::copy(options.begin(), options.begin() + 1024, im.begin() + 512);
  SealConfigImage(im);
  return im;
}

void SealConfigImage(Bytes& im) {
  Put16(im, 252, zek::Check16(im, 0, 251));
  Put16(im, 254, zek::SumBytes(im, 0, 253));
  Put16(im, 508, zek::Check16(im, 0, 507));
  Put16(im, 510, zek::SumBytes(im, 0, 509));
}

Bytes ConfigCommand(const ChipSetup& s, uint16_t word, const Bytes& options) {
  Bytes im = ConfigImage(s, options);
  uint16_t k = word ^ zek::kConfigScrambleKey;
  for (size_t i = 0; i < im.size(); i += 2) {
    im[i] ^= static_cast<uint8_t>(k);
    im[i + 1] ^= static_cast<uint8_t>(k >> 8);
  }
  return Command(0x53, word, im, s);
}

Bytes ResetCommand(uint8_t code) { return {code, 'R', 'E', 'S', 'T', 0xA8, 2, 0, 0, 0}; }

Bytes FirmwareBlock(const Bytes& image, int block, uint16_t key, uint32_t mask_seed) {
  Bytes p(4136, 0);
  p[0] = 0xB7;
  p[1] = static_cast<uint8_t>(block * 4);
  Put16(p, 2, key);
  p[4] = 0x12;
  p[5] = 0x34;
  Put16(p, 6, 0x1020);
  uint32_t r = mask_seed;
  for (size_t g = 0; g < 520; ++g) {
    for (size_t j = 0; j < 3; ++j) {
      r = r * 134775813u + 1u;
      p[2056 + 4 * g + j] = static_cast<uint8_t>((255ull * r) >> 32);
    }
  }
  const uint8_t k[3] = {static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key)};
  size_t base = (static_cast<size_t>(block) * 2048) % 65536;
  for (size_t i = 0; i < 2048; i += 4) {
    for (size_t j = 0; j < 3; ++j) p[8 + i + j] = image[base + i + j] ^ k[j];
    for (size_t j = 0; j < 4; ++j) p[8 + i + j] ^= p[2056 + i + j];
  }
  return p;
}

Bytes FirmwareFinish() { return {0xBD, 0x00, 'R', 'S', 0, 0, 2, 0, 0, 0}; }

Bytes Frame(const Bytes& packet) {
  Bytes p = packet;
  uint16_t c = zek::Check16Packet(p, 0, static_cast<uint32_t>(p.size() - 1));
  p.push_back(static_cast<uint8_t>(c));
  p.push_back(static_cast<uint8_t>(c >> 8));
  Bytes out(2 * p.size() + 16);
  uint16_t n = zek::SlipEncode(p, out, static_cast<uint16_t>(p.size()));
  if (n == 0) throw std::runtime_error("frame does not fit");
  out.resize(n);
  return out;
}

Bytes IdentityQuery() { return {0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}; }

std::vector<Reply> DecodeReplies(const Bytes& output) {
  std::vector<Reply> replies;
  Bytes frame = output;
  frame.resize(std::max<size_t>(output.size(), 16));
  auto count = static_cast<uint16_t>(output.size());
  Bytes packet(8192);
  while (count > 0) {
    uint16_t length = 0;
    uint8_t r = zek::SlipDecode(frame, packet, length, count);
    if (r != 0) continue;  // bytes between frames, or a bad frame
    Bytes p(packet.begin(), packet.begin() + length);
    uint8_t status = p[0] == 0xFD || p[0] == 0xA3 ? 0 : zek::CheckPacket(p, length);
    replies.push_back({p, status});
  }
  return replies;
}

std::vector<Reply> Exchange(SimUnit& unit, const Bytes& packet) {
  unit.Feed(Frame(packet));
  return DecodeReplies(unit.TakeOutput());
}

void Download(SimUnit& unit, const ChipSetup& s, const Bytes& main, const Bytes* eep) {
  Bytes options(1024, 0xFF);
  Exchange(unit, ConfigCommand(s, 0x1234, options));
  for (uint16_t index = 0; index < s.flash_kb || index == 0; index += 4) {
    Bytes block(main.begin() + index * 1024, main.begin() + index * 1024 + 4096);
    Exchange(unit, Command(0x55, index, block, s));
  }
  if (eep) Exchange(unit, Command(0x5A, 0, Bytes(eep->begin(), eep->begin() + 4096), s));
  unit.Feed(Frame(ResetCommand(0x8A)));
}

}  // namespace zek::sim::testing
