#include "tests/data/project_bytes.h"

#include <algorithm>

#include "station/data/byte_sums.h"

namespace zek::testing {
namespace {

constexpr size_t kTableAt = 354;
constexpr size_t kTableSize = 2049;

class Out {
 public:
  void Byte(uint8_t b) { bytes.push_back(b); }
  void U16(uint32_t v) {
    Byte(static_cast<uint8_t>(v));
    Byte(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
  void Text(const std::string& text, size_t width, uint8_t key) {
    for (size_t i = 0; i < width; ++i) Byte(i < text.size() ? static_cast<uint8_t>(text[i]) ^ key : 0);
  }
  ProjectBytes bytes;
};

uint8_t SectionKey(size_t n) { return static_cast<uint8_t>(0x90 + 7 * n); }

void Section(Out& out, uint8_t seed, size_t size) {
  size_t n = 0;
  out.Byte(SectionKey(n));
  for (size_t j = 0; j < size; ++j) {
    out.Byte(Pattern(seed, j) ^ TableByte(j % 1024) ^ SectionKey(n));
    if (j % 1024 == 1023) out.Byte(SectionKey(++n));
  }
}

struct AccCrc {
  uint16_t acc = 0, crc = 0;
};

AccCrc SumsOf(uint8_t seed, size_t size) {
  if (size == 0) return {};
  ProjectBytes data(size);
  for (size_t i = 0; i < size; ++i) data[i] = Pattern(seed, i);
  const auto last = static_cast<uint32_t>(size - 1);
  return {static_cast<uint16_t>(SumBytes(data, 0, last)), Check16(data, 0, last)};
}

void Put16(ProjectBytes& area, size_t at, uint16_t v) {
  area[at] = static_cast<uint8_t>(v);
  area[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(ProjectBytes& area, size_t at, uint32_t v) {
  Put16(area, at, static_cast<uint16_t>(v));
  Put16(area, at + 2, static_cast<uint16_t>(v >> 16));
}

// The text's bytes, then zeros to the width; "?" for none.
void PutName(ProjectBytes& area, size_t at, size_t width, const std::string& text) {
  const std::string shown = text.empty() ? "?" : text.substr(0, width);
  for (size_t i = 0; i < width; ++i) area[at + i] = i < shown.size() ? static_cast<uint8_t>(shown[i]) : 0;
}

// What the image builder puts in the area beside the descriptor.
void BuildImageFields(ProjectBytes& area, const ProjectFields& s) {
  area[6] = s.chip_class;
  Put16(area, 18, s.info_size);
  Put32(area, 28, s.chip_start);
  Put32(area, 60, s.eep_start);
  Put32(area, 64, s.info_start);
  Put32(area, 68, s.number_limit);
  Put16(area, 72, s.sn_gain);
  PutName(area, 256, 16, s.chip_name);
  PutName(area, 272, 48, s.object_name);
  std::copy_n(area.begin() + 512, 188, area.begin() + 320);
}

// Check16 of area[0 .. end - 4], then the 16-bit sum of area[0 .. end - 2].
void Seal(ProjectBytes& area, uint32_t end) {
  Put16(area, end - 3, Check16(area, 0, end - 4));
  Put16(area, end - 1, static_cast<uint16_t>(SumBytes(area, 0, end - 2)));
}

}  // namespace

CarriedSums SectionSums(const ProjectFields& s) {
  const AccCrc main = SumsOf(s.main_seed, s.with_main_section ? s.flash_bytes : 0);
  const AccCrc eep = SumsOf(s.eep_seed, s.section_eep_size.value_or(s.eep_size));
  return {main.acc, main.crc, eep.acc, eep.crc};
}

uint8_t Pattern(uint8_t seed, size_t i) { return static_cast<uint8_t>(seed + i * 29 + (i >> 8)); }

uint8_t TableByte(size_t i) { return static_cast<uint8_t>((i * 37 + 11) % 255); }

BuiltProject BuildProject(const ProjectFields& s) {
  Out o;
  o.Text(s.magic, 6, 0);
  o.Byte(s.version);
  o.Byte(s.model);
  o.Text(s.model_name, 16, 0x3D);
  o.Text(s.chip_name, 20, 0x3D);
  o.Text(s.object_name, 48, 0x3D);
  o.Zeros(32);
  o.U32(s.main_acc32);
  o.U32(s.file_acc32);
  o.U32(s.parsed_byte_sum);
  o.Zeros(20);
  o.U32(s.number_limit);
  o.U32(s.file1_start);
  o.U32(s.file1_end);
  o.U16(s.sn_gain);
  o.U16(s.chip_flash_kb);
  o.Zeros(84);
  o.Byte(1);
  o.Byte(0);
  o.U32(s.flash_bytes);
  o.U16(s.eep_size);
  o.U16(s.info_size);
  o.Zeros(14);
  o.U32(s.chip_start);
  o.U32(s.eep_start);
  o.U32(s.info_start);
  o.Zeros(12);
  o.Byte(s.spare);
  o.Byte(0);
  const CarriedSums header = s.header_sums.value_or(SectionSums(s));
  for (uint32_t v : {header.main_acc16, header.main_crc16, header.eep_acc16, header.eep_crc16}) o.U32(v);
  o.Zeros(32);
  for (size_t i = 0; i < kTableSize; ++i) o.Byte(TableByte(i));
  BuiltProject built;
  built.config_area.resize(2048);
  for (size_t i = 0; i < 2048; ++i) built.config_area[i] = Pattern(s.config_seed, i);
  Put16(built.config_area, 12, s.config_flash_kb.value_or(static_cast<uint16_t>(s.flash_bytes / 1024)));
  Put16(built.config_area, 14, s.config_eep_size.value_or(s.eep_size));
  const CarriedSums config = s.config_sums.value_or(SectionSums(s));
  Put16(built.config_area, 36, config.main_crc16);
  Put16(built.config_area, 38, config.main_acc16);
  Put16(built.config_area, 40, config.eep_crc16);
  Put16(built.config_area, 42, config.eep_acc16);
  if (s.config_as_built) {
    BuildImageFields(built.config_area, s);
    Seal(built.config_area, 255);
    Seal(built.config_area, 511);
  }
  o.Text(s.cfg_tag, 3, 0x52);
  if (s.with_config_area) {
    const uint8_t c = 0x3A;
    o.Byte(c);
    built.config_at = o.bytes.size();
    for (size_t i = 0; i < 2048; ++i) o.Byte(built.config_area[i] ^ TableByte(i) ^ c);
  }
  o.Text(s.mfm_tag, 3, 0x6E);
  o.U32(s.chip_start);
  built.main_at = o.bytes.size();
  if (s.with_main_section) Section(o, s.main_seed, s.flash_bytes);
  built.eep_tag_at = o.bytes.size();
  o.Text(s.eep_tag, 3, 0x27);
  const uint16_t e = s.section_eep_size.value_or(s.eep_size);
  o.U16(e);
  if (e > 0) Section(o, s.eep_seed, e);
  built.sum_at = o.bytes.size();
  uint32_t sum = s.sum_offset;
  for (uint8_t b : o.bytes) sum += b;
  o.U32(sum);
  for (size_t i = 0; i < 256; ++i) o.Byte(static_cast<uint8_t>(i * 3));
  built.bytes = std::move(o.bytes);
  return built;
}

ProjectBytes DecodeSection(const ProjectBytes& file, size_t at, size_t size) {
  ProjectBytes data;
  uint8_t key = file.at(at++);
  for (size_t j = 0; j < size; ++j) {
    data.push_back(file.at(at++) ^ file.at(kTableAt + j % 1024) ^ key);
    if (j % 1024 == 1023) key = file.at(at++);
  }
  return data;
}

uint32_t SumBefore(const ProjectBytes& file, size_t end) {
  uint32_t sum = 0;
  for (size_t i = 0; i < end; ++i) sum += file.at(i);
  return sum;
}

uint32_t Get32At(const ProjectBytes& file, size_t at) {
  return file.at(at) | (file.at(at + 1) << 8) | (file.at(at + 2) << 16) | (static_cast<uint32_t>(file.at(at + 3)) << 24);
}

}  // namespace zek::testing
