#include "tools/unit-sim/firmware_blocks.h"

#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {

std::optional<int> UnpackFirmwareBlock(std::span<const uint8_t> p, std::span<uint8_t> image) {
  constexpr size_t kData = 8, kMask = kData + kFirmwareBlockBytes;
  if (p.size() != kFirmwareBlockPacket || p[0] != 0xB7 || Get16(p, 6) != 0x1020) return std::nullopt;
  if (image.size() < kFirmwareImageSize || (p[1] & 3) != 0) return std::nullopt;
  int block = p[1] / 4;
  const uint8_t key[3] = {p[2], p[3], p[2]};
  size_t base = (static_cast<size_t>(block) * kFirmwareBlockBytes) % kFirmwareImageSize;
  for (size_t i = 0; i < kFirmwareBlockBytes; i += 4) {
    for (size_t j = 0; j < 3; ++j) {
      image[base + i + j] = static_cast<uint8_t>(p[kData + i + j] ^ p[kMask + i + j] ^ key[j]);
    }
  }
  return block;
}

bool IsUpgradeFinish(std::span<const uint8_t> p) {
  return p.size() == 12 && p[0] == 0xBD && p[1] == 0 && p[2] == 'R' && p[3] == 'S' && p[4] == 0 &&
         p[5] == 0 && Get16(p, 6) == 2 && p[8] == 0 && p[9] == 0;
}

}  // namespace zek::sim
