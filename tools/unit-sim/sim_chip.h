#pragma once
// The chip in a unit's socket: flash, EEPROM, information and option
// areas, a unique ID and read protection. Flash behaves like flash:
// programming only clears bits, so writing over unerased data fails.
// Every access is bounded by the areas' capacities.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zek::sim {

struct AreaSums {
  uint32_t acc = 0;  // byte sum
  uint16_t crc = 0;  // the line's 16-bit check
};

class SimChip {
 public:
  static constexpr size_t kFlashCapacity = 0x200000;
  static constexpr size_t kEepCapacity = 0x8000;
  static constexpr size_t kInfoCapacity = 0x1000;
  static constexpr size_t kOptionCapacity = 0x400;

  // A blank, unprotected chip whose ID and information area derive from
  // `serial`, so two chips differ and every run is repeatable.
  explicit SimChip(uint32_t serial = 1);

  // Leaves earlier contents in flash and EEPROM, as on a chip taken from
  // another product.
  void FillUsed();

  bool IsBlank(size_t flash_bytes) const;
  // Erases the flash (and the EEPROM when asked) and lifts the protection.
  void Erase(bool eeprom);
  // ANDs data into flash at offset, clipped to `limit` bytes of flash;
  // false when some byte does not read back as written.
  bool ProgramFlash(size_t offset, std::span<const uint8_t> data, size_t limit);
  // Writes data into EEPROM at offset, clipped to `limit` bytes.
  void WriteEeprom(size_t offset, std::span<const uint8_t> data, size_t limit);
  void WriteOptions(std::span<const uint8_t> data);
  void Protect() { protected_ = true; }
  bool IsProtected() const { return protected_; }

  AreaSums FlashSums(size_t bytes) const;
  AreaSums EepromSums(size_t bytes) const;

  std::span<const uint8_t> Flash() const { return flash_; }
  std::span<const uint8_t> Eeprom() const { return eeprom_; }
  std::span<const uint8_t> Info() const { return info_; }
  std::span<const uint8_t> Options() const { return option_; }
  std::span<const uint8_t> Uid() const { return uid_; }
  // The flash interface's register block (32 bytes) shown with the
  // information area of the BS32 parts.
  std::span<const uint8_t> Registers() const { return registers_; }

 private:
  std::vector<uint8_t> flash_, eeprom_, info_, option_;
  std::array<uint8_t, 12> uid_{};
  std::array<uint8_t, 32> registers_{};
  uint32_t serial_;
  bool protected_ = false;
};

}  // namespace zek::sim
