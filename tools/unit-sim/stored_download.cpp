#include "tools/unit-sim/stored_download.h"

#include <algorithm>

namespace zek::sim {

StoredDownload::StoredDownload() : main_(kImageCapacity, 0xFF) { eep_.fill(0xFF); }

void StoredDownload::Begin(const ConfigImage& config) {
  config_ = config;
  std::fill(main_.begin(), main_.end(), 0xFF);
  eep_.fill(0xFF);
  has_eep_ = false;
  size_t blocks = (config.settings.flash_kb + 3u) / 4u;
  blocks_seen_.assign(std::max<size_t>(blocks, 1), false);
}

bool StoredDownload::StoreBlock(uint16_t index, std::span<const uint8_t> data) {
  size_t offset = static_cast<size_t>(index) * 1024;
  if (!config_ || offset >= main_.size()) return false;
  size_t n = std::min(data.size(), main_.size() - offset);
  std::copy_n(data.begin(), n, main_.begin() + static_cast<ptrdiff_t>(offset));
  if (index % 4 == 0 && index / 4u < blocks_seen_.size()) blocks_seen_[index / 4u] = true;
  return true;
}

bool StoredDownload::OnGrid(uint16_t index) const {
  if (!config_ || index % 4 != 0) return false;
  return index == 0 || index < config_->settings.flash_kb;
}

bool StoredDownload::StoreEeprom(std::span<const uint8_t> data) {
  if (!config_) return false;
  std::copy_n(data.begin(), std::min(data.size(), eep_.size()), eep_.begin());
  has_eep_ = true;
  return true;
}

bool StoredDownload::Complete() const {
  return config_ && std::all_of(blocks_seen_.begin(), blocks_seen_.end(), [](bool b) { return b; });
}

}  // namespace zek::sim
