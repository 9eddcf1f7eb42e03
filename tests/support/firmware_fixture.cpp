#include "tests/support/firmware_fixture.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "station/data/byte_sums.h"

namespace zek::testing {
namespace {

constexpr size_t kTailBytes = 876;
constexpr size_t kBlockPacket = 4138;

void PutWord(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

std::array<uint8_t, kKeyTableBytes> PatternKeyTable() {
  std::array<uint8_t, kKeyTableBytes> t{};
  for (size_t i = 0; i < t.size(); ++i) t[i] = static_cast<uint8_t>((i * 37 + 11) % 255 + 1);
  return t;
}

std::vector<uint8_t> BuildFirmwareFile(const FirmwareRecipe& r) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < 7; ++i) {
    uint8_t c = i < r.tag.size() ? static_cast<uint8_t>(r.tag[i]) : 0;
    out.push_back(c == 0 ? 0 : c ^ 0x4B);
  }
  for (size_t i = 0; i < 8; ++i) out.push_back(i < r.version.size() ? static_cast<uint8_t>(r.version[i]) : 0);
  uint16_t w = r.key_word;
  uint16_t length = r.declared_length.value_or(static_cast<uint16_t>(r.image.size()));
  PutWord(out, w);
  PutWord(out, r.end_address ^ w);
  PutWord(out, r.spare1 ^ w);
  PutWord(out, r.spare2 ^ w);
  PutWord(out, length ^ w);
  out.insert(out.end(), r.key_table.begin(), r.key_table.end());
  // Scrambled image: byte q XOR key[4j] (even q) or key[4j + 1] (odd q),
  // j = q / 4 modulo 1024, with the key zero past the table.
  size_t padded = (r.image.size() + 15) / 16 * 16;
  for (size_t q = 0; q < padded; ++q) {
    uint8_t plain = q < r.image.size() ? r.image[q] : r.pad;
    size_t at = 4 * ((q / 4) % 1024) + (q % 2);
    uint8_t key = at < r.key_table.size() ? r.key_table[at] : 0;
    out.push_back(plain ^ key);
  }
  out.insert(out.end(), kTailBytes, r.tail);
  uint32_t sum = 0;
  for (uint8_t b : out) sum += b;
  sum += static_cast<uint32_t>(r.sum_error);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(sum >> (8 * i)));
  out.insert(out.end(), r.extra, 0xA5);
  out.resize(out.size() - std::min(r.cut, out.size()));
  return out;
}

std::optional<std::vector<uint8_t>> DescrambleFirmwareBlock(std::span<const uint8_t> p) {
  if (p.size() < kBlockPacket || p[0] != 0xB7 || p[6] != 0x20 || p[7] != 0x10) return std::nullopt;
  uint16_t check = static_cast<uint16_t>(p[4136] | (p[4137] << 8));
  if (Check16(p, 0, 4135) != check) return std::nullopt;
  const uint8_t key[4] = {p[2], p[3], p[2], 0};
  std::vector<uint8_t> image(2048);
  for (size_t i = 0; i < image.size(); ++i) image[i] = p[8 + i] ^ p[2056 + i] ^ key[i % 4];
  return image;
}

void WriteBytes(const std::string& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace zek::testing
