#include "station/data/project_config_checks.h"

#include <algorithm>
#include <string>

#include "station/data/byte_order.h"
#include "station/data/byte_sums.h"

namespace zek {
namespace {

constexpr size_t kFirstSealEnd = 255;
constexpr size_t kSecondSealEnd = 511;
constexpr size_t kChipNameAt = 256, kChipNameWidth = 16;
constexpr size_t kObjectNameAt = 272, kObjectNameWidth = 48;
// OptionBuffer[0 .. 187] stands at 320 and again at 512.
constexpr size_t kOptionCopyAt = 320, kOptionAt = 512, kOptionCopySize = 188;
constexpr char kNameKey = 0x3D;

// Check16 of [0 .. end - 4] at end - 3, the 16-bit byte sum of
// [0 .. end - 2] at end - 1.
bool Sealed(std::span<const uint8_t> b, size_t end) {
  const auto last = static_cast<uint32_t>(end);
  return Get16(&b[end - 3]) == Check16(b, 0, last - 4) &&
         Get16(&b[end - 1]) == static_cast<uint16_t>(SumBytes(b, 0, last - 2));
}

// The header keeps a name up to the first character equal to its key (it is
// stored as 0); the image keeps it whole, as "?" when empty, and a
// narrower field cuts it at its width (at a whole character, so one byte
// short at most).
bool NamesAgree(std::string_view header, std::span<const uint8_t> field) {
  std::string image(field.begin(), field.end());
  image.resize(std::min(image.find('\0'), image.size()));
  if (header.empty() && image == "?") return true;
  const size_t common = std::min(header.size(), image.size());
  if (header.substr(0, common) != std::string_view(image).substr(0, common)) return false;
  if (image.size() > header.size()) return image[header.size()] == kNameKey;
  if (header.size() > image.size()) return image.size() + 1 >= field.size();
  return true;
}

}  // namespace

bool ConfigImageSealed(std::span<const uint8_t> area) {
  return area.size() > kSecondSealEnd && Sealed(area, kFirstSealEnd) && Sealed(area, kSecondSealEnd);
}

bool HeaderMatchesConfigImage(const ProjectHeaderCopies& h, std::span<const uint8_t> area) {
  if (area.size() < kOptionAt + kOptionCopySize) return false;
  const uint8_t* b = area.data();
  const bool numbers = Get16(b + 72) == h.sn_gain && Get16(b + 18) == h.info_size && Get32(b + 28) == h.chip_start &&
                       h.main_section_start == h.chip_start && Get32(b + 60) == h.eep_start &&
                       Get32(b + 64) == h.info_start;
  const bool names = NamesAgree(h.chip_name, area.subspan(kChipNameAt, kChipNameWidth)) &&
                     NamesAgree(h.object_file_name, area.subspan(kObjectNameAt, kObjectNameWidth));
  const auto options = area.subspan(kOptionAt, kOptionCopySize);
  return numbers && names && std::equal(options.begin(), options.end(), area.begin() + kOptionCopyAt);
}

}  // namespace zek
