#pragma once
// The 1536-byte configuration image that opens a download: "PXZW", the
// settings block, production options, two check/sum pairs, the chip and
// file names and the option bytes. On the line its byte pairs are XORed
// with w ^ K, w being the command's parameter word.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "tools/unit-sim/settings_block.h"

namespace zek::sim {

inline constexpr size_t kConfigImageSize = 1536;

struct ConfigImage {
  std::array<uint8_t, kConfigImageSize> bytes{};
  UnitSettings settings;
  int32_t number_limit = 0;
  uint16_t sn_gain = 0;
  int32_t sn_address = 0;
  int32_t sn_value = 0;
  std::string chip_name;         // raw bytes up to the first zero
  std::string object_file_name;  // raw bytes up to the first zero

  std::span<const uint8_t> Options() const { return std::span(bytes).subspan(512, 1024); }
};

// XORs each byte pair with the low and high byte of word ^ kConfigScrambleKey;
// applying it twice gives the original.
void ScrambleConfigImage(std::span<uint8_t> image, uint16_t word);

// Unscrambles and checks an image as it came in a 0x53 packet: nullopt when
// it is not kConfigImageSize bytes, lacks "PXZW", a check or sum differs,
// bytes 82-83 are not 0, or the option copy at 320-507 differs from the
// option image's first 188 bytes.
std::optional<ConfigImage> ReadConfigImage(std::span<const uint8_t> scrambled, uint16_t word);

}  // namespace zek::sim
