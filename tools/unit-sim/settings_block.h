#pragma once
// The 64-byte settings block that travels with most commands and inside
// the configuration image, as the unit reads it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zek::sim {

inline constexpr size_t kSettingsBlockSize = 64;

struct UnitSettings {
  uint8_t family = 0, chip_class = 0, chip_index = 0, auto_detect = 0;
  uint16_t flash_kb = 0, eep_size = 0, page_size = 0, info_size = 0;
  std::array<uint8_t, 8> ctrl{};  // CtrlFlags .. CtrlFlags8
  uint32_t chip_start = 0, option_start = 0, eep_start = 0, info_start = 0;
  uint16_t main_crc = 0, main_acc = 0, eep_crc = 0, eep_acc = 0;
  uint16_t option_crc = 0, option_acc = 0;
  uint8_t chip_in_time = 0, chip_out_time = 0, power_on_time = 0;
  uint8_t sclk = 0, ok_ng_delay = 0, sn_flags = 0, sn_length = 0;

  size_t FlashBytes() const { return static_cast<size_t>(flash_kb) * 1024; }
  bool ErasesEeprom() const { return ctrl[1] & 0x10; }
  bool WritesEeprom() const { return ctrl[1] & 0x40; }
  bool WritesOptions() const { return ctrl[3] & 0x20; }
  bool HasOptionRange() const { return option_start != 0xFFFFFFFF; }
};

// Reads a block of exactly kSettingsBlockSize bytes.
UnitSettings ParseSettings(std::span<const uint8_t> block);

}  // namespace zek::sim
