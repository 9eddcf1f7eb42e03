#pragma once
// Builds programmer firmware files from a plain image, valid or damaged on
// purpose, and reads the image back out of a firmware block packet: the
// unit's side of the upgrade, for tests and the simulated unit.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zek::testing {

inline constexpr size_t kKeyTableBytes = 3290;

// A key table with no zero bytes, distinct at every offset of a group.
std::array<uint8_t, kKeyTableBytes> PatternKeyTable();

struct FirmwareRecipe {
  std::vector<uint8_t> image;  // the plain image; its size is the length L
  std::string tag = "DvkFmWr";
  std::string version = "V2.04";  // cut or zero-padded to 8 bytes
  uint16_t key_word = 0x5A3C;
  uint16_t end_address = 0x8FFF;
  uint16_t spare1 = 0x1357, spare2 = 0x2468;  // the two unused words
  std::array<uint8_t, kKeyTableBytes> key_table = PatternKeyTable();
  uint8_t pad = 0xFF;   // plain bytes that fill the image up to 16
  uint8_t tail = 0x5E;  // the 876 bytes after the image
  // Damage: a length written in place of the image's, a sum off by this
  // much, bytes cut from the end or added after the sum.
  std::optional<uint16_t> declared_length;
  int32_t sum_error = 0;
  size_t cut = 0;
  size_t extra = 0;
};

std::vector<uint8_t> BuildFirmwareFile(const FirmwareRecipe& recipe);

// The 2048 image bytes a 0xB7 block packet carries (each group's fourth
// byte reads 0), or nothing when the packet is not a block: wrong code or
// length, a bad check.
std::optional<std::vector<uint8_t>> DescrambleFirmwareBlock(std::span<const uint8_t> packet);

void WriteBytes(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace zek::testing
