#include "station/link/firmware_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "station/data/errors.h"
#include "station/data/format.h"
#include "station/data/info_lines.h"

namespace zek {
namespace {

constexpr char kTag[] = "DvkFmWr";
constexpr size_t kKeySpan = 4096;  // the table as used: zero past its 3290 bytes
constexpr size_t kSumSize = 4;

// Reads the image buffer front to back, adding every byte to the file's sum.
class SummingReader {
 public:
  explicit SummingReader(const uint8_t* bytes) : bytes_(bytes) {}
  uint8_t Byte() {
    uint8_t b = bytes_[pos_++];
    sum_ += b;
    return b;
  }
  uint16_t Word() {
    uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
  }
  uint32_t StoredSum() const {
    uint32_t v = 0;
    for (size_t i = 0; i < kSumSize; ++i) v |= static_cast<uint32_t>(bytes_[pos_ + i]) << (8 * i);
    return v;
  }
  size_t Position() const { return pos_; }
  uint32_t Sum() const { return sum_; }

 private:
  const uint8_t* bytes_;
  size_t pos_ = 0;
  uint32_t sum_ = 0;
};

struct Header {
  std::array<char, kFirmwareVersionSize> version{};
  uint16_t end_address = 0;
  uint16_t length = 0;
};

bool TagMatches(SummingReader& in) {
  bool match = true;
  for (size_t i = 0; i < kFirmwareTagSize; ++i) {
    uint8_t b = in.Byte();
    if (b != 0) b ^= kFirmwareTagMask;
    match = match && b == static_cast<uint8_t>(kTag[i]);
  }
  return match;
}

Header ReadHeader(SummingReader& in) {
  Header h;
  for (char& c : h.version) c = static_cast<char>(in.Byte());
  uint16_t w = in.Word();
  h.end_address = in.Word() ^ w;
  in.Word();  // two words the station does not use
  in.Word();
  h.length = in.Word() ^ w;
  return h;
}

// The plain image replaces the file's front in place: the write position
// always trails the read position, and the key table is copied out first.
void Unscramble(SummingReader& in, uint8_t* image, uint16_t length) {
  std::array<uint8_t, kKeySpan> key{};
  for (size_t i = 0; i < kFirmwareKeyTableSize; ++i) key[i] = in.Byte();
  size_t q = 0, j = 0;
  for (uint32_t done = 0; done < length; done += 16) {
    for (int g = 0; g < 4; ++g) {
      uint8_t t0 = key[4 * j], t1 = key[4 * j + 1];
      image[q + 0] = in.Byte() ^ t0;
      image[q + 1] = in.Byte() ^ t1;
      image[q + 2] = in.Byte() ^ t0;
      image[q + 3] = in.Byte() ^ t1;
      q += 4;
      j = (j + 1) % (kKeySpan / 4);
    }
  }
}

void Refuse(StationState& st, const std::string& name, const std::string& reason) {
  AddInfoLine(st, "Firmware file \"" + name + "\" refused: " + reason);
}

size_t PaddedLength(uint16_t length) { return (static_cast<size_t>(length) + 15) & ~size_t{15}; }

}  // namespace

void LoadFirmwareBytes(StationState& st, std::span<const uint8_t> file, const std::string& name) {
  st.FirmwareOK = 0;
  st.FirmwareVersion.fill(0);
  if (file.size() > st.FirmwareImage.size()) {
    Refuse(st, name, Format("it is longer than %d bytes!", {st.FirmwareImage.size()}));
    return;
  }
  // An erased buffer for each load, so no byte of an earlier file lingers
  // in the blocks sent to a unit and blocks past the file carry 0xFF.
  uint8_t* image = st.FirmwareImage.data();
  std::fill(std::copy(file.begin(), file.end(), image), st.FirmwareImage.end(), 0xFF);

  SummingReader in(image);
  if (!TagMatches(in)) return Refuse(st, name, std::string("its tag does not read \"") + kTag + "\"!");
  Header h = ReadHeader(in);
  st.FirmwareStartAddress = 4096;
  st.FirmwareEndAddress = h.end_address;
  st.FirmwareWordCount = h.length;
  size_t needed = kFirmwareImageOffset + PaddedLength(h.length) + kFirmwareTailSize + kSumSize;
  if (needed > file.size()) {
    Refuse(st, name, Format("it ends before its image and sum (%d bytes needed, %d present)!", {needed, file.size()}));
    return;
  }
  if (h.end_address < kFirmwareLowestEnd || h.end_address > kFirmwareHighestEnd) {
    Refuse(st, name, Format("end address 0x%0.4x lies outside 0x1000 - 0x8FFF!", {h.end_address}));
    return;
  }
  Unscramble(in, image, h.length);
  for (size_t i = 0; i < kFirmwareTailSize; ++i) in.Byte();
  if (in.StoredSum() != in.Sum()) {
    Refuse(st, name, Format("its sum is 0x%0.8x, not the stored 0x%0.8x!", {in.Sum(), in.StoredSum()}));
    return;
  }
  st.FirmwareOK = 1;
  // The version only of a file that can be sent: a damaged file's version
  // would make discovery turn away older units it then cannot upgrade.
  if (h.version[0] == 'V') std::copy(h.version.begin(), h.version.end(), st.FirmwareVersion.begin());
}

void LoadFirmwareFile(StationState& st, const std::string& path) {
  st.FirmwareOK = 0;
  st.FirmwareVersion.fill(0);
  // A file that cannot be read is one that does not load: start-up goes on
  // with the port list and the unit search.
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return Refuse(st, path, "it cannot be read (" + FileErrorText(errno) + ")!");
  // One byte more than the image holds tells a file that is too long.
  std::vector<uint8_t> bytes(st.FirmwareImage.size() + 1);
  size_t n = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (std::ferror(file.get())) return Refuse(st, path, "it cannot be read (" + FileErrorText(errno) + ")!");
  bytes.resize(n);
  LoadFirmwareBytes(st, bytes, path);
}

}  // namespace zek
