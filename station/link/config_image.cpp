#include "station/link/config_image.h"

#include <algorithm>

#include "station/data/gbk_text.h"
#include "station/data/byte_order.h"
#include "station/link/command_builders.h"
#include "station/link/packet_framing.h"
#include "station/link/packet_send.h"
#include "station/link/scramble_key.h"
#include "station/link/settings_block.h"

namespace zek {
namespace {

// Check16 of image[0 .. end - 4] at end - 3, then the 16-bit byte sum of
// image[0 .. end - 2] (the check included) at end - 1.
void SealPart(std::span<uint8_t, kConfigImageSize> image, uint32_t end) {
  Put16(image.data() + end - 3, Check16Packet(image, 0, end - 4));
  // The two's complement of the negated sum is the plain 16-bit sum.
  Put16(image.data() + end - 1, 0x10000u - NegSum16(image, 0, end - 2));
}

}  // namespace

void WriteConfigImage(StationState& st, std::span<uint8_t, kConfigImageSize> image) {
  uint8_t* b = image.data();
  const ProgrammerSettings& s = st.Settings;
  std::fill(image.begin(), image.end(), 0);
  const uint8_t magic[4] = {'P', 'X', 'Z', 'W'};
  std::copy(std::begin(magic), std::end(magic), b);
  WriteSettingsBlock(st, image.subspan<4, 64>());
  Put32(b + 68, static_cast<uint32_t>(s.NumberLimit));
  Put16(b + 72, s.SNGain);
  Put32(b + 74, static_cast<uint32_t>(s.SNAddress));
  Put32(b + 78, static_cast<uint32_t>(s.SNValue));
  for (int i = 84; i <= 251; ++i) b[i] = static_cast<uint8_t>(st.Random.Below(255));
  SealPart(image, 255);
  PutFixedText(image.subspan(256, 16), st.ChipName);
  PutFixedText(image.subspan(272, 48), st.ObjectFileName);
  std::copy_n(st.OptionBuffer.begin(), 192, b + 320);
  SealPart(image, 511);  // over option bytes 188-191
  std::copy_n(st.OptionBuffer.begin(), 1024, b + 512);
}

void BuildConfigImage(StationState& st, size_t offset, int port) {
  auto packet = st.PortPacketBuf[port].span();
  if (offset > packet.size() || packet.size() - offset < kConfigImageSize) return;
  WriteConfigImage(st, packet.subspan(offset).first<kConfigImageSize>());
}

bool SendConfigImage(StationState& st, uint8_t code, uint16_t word, int port) {
  PutCommandHeader(st, code, word, kConfigImageSize, port);
  BuildConfigImage(st, kPacketHeaderSize, port);
  const uint16_t k = word ^ kConfigScrambleKey;
  uint8_t* image = st.PortPacketBuf[port].data() + kPacketHeaderSize;
  for (size_t i = 0; i < kConfigImageSize; i += 2) {
    image[i] ^= static_cast<uint8_t>(k);
    image[i + 1] ^= static_cast<uint8_t>(k >> 8);
  }
  return SendPacket(st, kPacketHeaderSize + kConfigImageSize, port);
}

}  // namespace zek
