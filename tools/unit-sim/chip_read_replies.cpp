#include "tools/unit-sim/chip_read_replies.h"

#include <algorithm>

namespace zek::sim {
namespace {

constexpr size_t kMinData = 16;

void CopyInto(std::vector<uint8_t>& out, size_t at, std::span<const uint8_t> from) {
  std::copy(from.begin(), from.end(), out.begin() + static_cast<ptrdiff_t>(at));
}

}  // namespace

std::vector<uint8_t> ChipIdData(const SimChip& chip) {
  std::vector<uint8_t> d(kMinData, 0);
  CopyInto(d, 0, chip.Uid());
  return d;
}

std::vector<uint8_t> InfoReadData(const SimChip& chip, const UnitSettings& s) {
  std::span<const uint8_t> info = chip.Info();
  if (s.chip_class == 0x00) {
    std::vector<uint8_t> d(0x842, 0);
    CopyInto(d, 0, chip.Uid());
    CopyInto(d, 0x400, info.subspan(0, 128));
    CopyInto(d, 0x800, info.subspan(0x800, 16));
    CopyInto(d, 0x820, info.subspan(0x820, 16));
    d[0x840] = info[0x840];
    d[0x841] = chip.IsProtected() ? 1 : 0;
    return d;
  }
  if (s.chip_class < 0x40) {
    std::vector<uint8_t> d(544, 0);
    CopyInto(d, 0, chip.Registers());
    CopyInto(d, 32, info.subspan(0, 512));
    return d;
  }
  size_t n = std::min<size_t>(s.info_size, info.size());
  std::vector<uint8_t> d(std::max(n, kMinData), 0);
  CopyInto(d, 0, info.first(n));
  return d;
}

std::vector<uint8_t> OptionReadData(const SimChip& chip) {
  std::span<const uint8_t> o = chip.Options().subspan(480, 32);
  return {o.begin(), o.end()};
}

}  // namespace zek::sim
