#pragma once
// What a download leaves in the unit: the configuration image, the main
// image and the EEPROM block. A unit holds a complete image once every
// block the configuration's flash size calls for has arrived; it then can
// program chips on its own.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "tools/unit-sim/config_image.h"

namespace zek::sim {

class StoredDownload {
 public:
  static constexpr size_t kImageCapacity = 0x200000;
  static constexpr size_t kEepBlock = 4096;

  StoredDownload();
  // A new download: forgets the previous image.
  void Begin(const ConfigImage& config);
  // Stores a 4 KiB block at index x 1 KiB; false when there is no
  // configuration yet or the block lies past the image capacity.
  bool StoreBlock(uint16_t index, std::span<const uint8_t> data);
  bool StoreEeprom(std::span<const uint8_t> data);
  // A main block the station sends: index 0, 4, 8, ... below the flash
  // size of the configuration (the first one always goes out).
  bool OnGrid(uint16_t index) const;

  bool Complete() const;
  // Bytes of the main image the configuration's flash size calls for.
  size_t ImageBytes() const { return blocks_seen_.size() * kEepBlock; }
  const std::optional<ConfigImage>& Config() const { return config_; }
  std::span<const uint8_t> Main() const { return main_; }
  std::span<const uint8_t> Eeprom() const { return eep_; }
  bool HasEeprom() const { return has_eep_; }

 private:
  std::optional<ConfigImage> config_;
  std::vector<uint8_t> main_;
  std::array<uint8_t, kEepBlock> eep_{};
  std::vector<bool> blocks_seen_;  // one per 4 KiB block of the flash size
  bool has_eep_ = false;
};

}  // namespace zek::sim
