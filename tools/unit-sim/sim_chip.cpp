#include "tools/unit-sim/sim_chip.h"

#include <algorithm>

#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim {
namespace {

uint8_t Pattern(uint32_t serial, size_t i) {
  return static_cast<uint8_t>((i * 29 + serial * 101 + (i >> 8)) & 0xFF);
}

AreaSums SumsOf(std::span<const uint8_t> bytes) { return {ByteSum(bytes), LineCheck16(bytes)}; }

}  // namespace

SimChip::SimChip(uint32_t serial)
    : flash_(kFlashCapacity, 0xFF),
      eeprom_(kEepCapacity, 0xFF),
      info_(kInfoCapacity),
      option_(kOptionCapacity, 0xFF),
      serial_(serial) {
  for (size_t i = 0; i < info_.size(); ++i) info_[i] = Pattern(serial, i);
  const uint8_t tag[4] = {'D', 'K', '4', '1'};
  std::copy_n(tag, 4, uid_.begin());
  Put32(uid_, 4, serial);
  Put32(uid_, 8, serial * 2654435761u);
  for (size_t i = 0; i < registers_.size(); ++i) registers_[i] = Pattern(serial + 7, i);
}

void SimChip::FillUsed() {
  for (size_t i = 0; i < flash_.size(); ++i) flash_[i] = Pattern(serial_ + 3, i);
  for (size_t i = 0; i < eeprom_.size(); ++i) eeprom_[i] = Pattern(serial_ + 5, i);
}

bool SimChip::IsBlank(size_t flash_bytes) const {
  size_t n = std::min(flash_bytes, flash_.size());
  return std::all_of(flash_.begin(), flash_.begin() + static_cast<ptrdiff_t>(n),
                     [](uint8_t b) { return b == 0xFF; });
}

void SimChip::Erase(bool eeprom) {
  std::fill(flash_.begin(), flash_.end(), 0xFF);
  if (eeprom) std::fill(eeprom_.begin(), eeprom_.end(), 0xFF);
  protected_ = false;
}

bool SimChip::ProgramFlash(size_t offset, std::span<const uint8_t> data, size_t limit) {
  limit = std::min(limit, flash_.size());
  bool ok = true;
  for (size_t i = 0; i < data.size() && offset + i < limit; ++i) {
    uint8_t& cell = flash_[offset + i];
    cell &= data[i];
    ok = ok && cell == data[i];
  }
  return ok;
}

void SimChip::WriteEeprom(size_t offset, std::span<const uint8_t> data, size_t limit) {
  limit = std::min(limit, eeprom_.size());
  for (size_t i = 0; i < data.size() && offset + i < limit; ++i) eeprom_[offset + i] = data[i];
}

void SimChip::WriteOptions(std::span<const uint8_t> data) {
  std::copy_n(data.begin(), std::min(data.size(), option_.size()), option_.begin());
}

AreaSums SimChip::FlashSums(size_t bytes) const {
  return SumsOf(std::span<const uint8_t>(flash_).first(std::min(bytes, flash_.size())));
}

AreaSums SimChip::EepromSums(size_t bytes) const {
  return SumsOf(std::span<const uint8_t>(eeprom_).first(std::min(bytes, eeprom_.size())));
}

}  // namespace zek::sim
