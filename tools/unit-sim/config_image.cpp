#include "tools/unit-sim/config_image.h"

#include <algorithm>

#include "station/link/scramble_key.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {
namespace {

// Check16 of bytes 0 .. at-1 stored at `at`, and the 16-bit sum of bytes
// 0 .. at+1 (the check included) stored at at+2.
bool SealHolds(std::span<const uint8_t> image, size_t at) {
  if (LineCheck16(image.first(at)) != Get16(image, at)) return false;
  return static_cast<uint16_t>(ByteSum(image.first(at + 2))) == Get16(image, at + 2);
}

std::string FixedText(std::span<const uint8_t> field) {
  auto end = std::find(field.begin(), field.end(), 0);
  return std::string(field.begin(), end);
}

}  // namespace

void ScrambleConfigImage(std::span<uint8_t> image, uint16_t word) {
  uint16_t k = word ^ kConfigScrambleKey;
  for (size_t i = 0; i + 1 < image.size(); i += 2) {
    image[i] ^= static_cast<uint8_t>(k);
    image[i + 1] ^= static_cast<uint8_t>(k >> 8);
  }
}

std::optional<ConfigImage> ReadConfigImage(std::span<const uint8_t> scrambled, uint16_t word) {
  if (scrambled.size() != kConfigImageSize) return std::nullopt;
  ConfigImage c;
  std::copy(scrambled.begin(), scrambled.end(), c.bytes.begin());
  ScrambleConfigImage(c.bytes, word);
  std::span<const uint8_t> b = c.bytes;
  if (b[0] != 'P' || b[1] != 'X' || b[2] != 'Z' || b[3] != 'W') return std::nullopt;
  if (!SealHolds(b, 252) || !SealHolds(b, 508)) return std::nullopt;
  // Two bytes that are always 0, and the first 188 option bytes, which
  // bytes 320-507 repeat from the option image at 512.
  if (b[82] != 0 || b[83] != 0) return std::nullopt;
  if (!std::equal(b.begin() + 320, b.begin() + 508, b.begin() + 512)) return std::nullopt;
  c.settings = ParseSettings(b.subspan(4, kSettingsBlockSize));
  c.number_limit = static_cast<int32_t>(Get32(b, 68));
  c.sn_gain = Get16(b, 72);
  c.sn_address = static_cast<int32_t>(Get32(b, 74));
  c.sn_value = static_cast<int32_t>(Get32(b, 78));
  c.chip_name = FixedText(b.subspan(256, 16));
  c.object_file_name = FixedText(b.subspan(272, 48));
  return c;
}

}  // namespace zek::sim
