#pragma once
// Project files put together byte by byte in the tests, field by field at
// their offsets, independently of the station's writer; and the decoding of
// a file's scrambled parts, to check what the writer made.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zek::testing {

using ProjectBytes = std::vector<uint8_t>;

// The images' 16-bit sums as a file carries them.
struct CarriedSums {
  uint16_t main_acc16 = 0, main_crc16 = 0, eep_acc16 = 0, eep_crc16 = 0;
  friend bool operator==(const CarriedSums&, const CarriedSums&) = default;
};

// Every field of a project file. Names are the raw bytes to store (GBK).
struct ProjectFields {
  std::string magic = "Kelpra";
  uint8_t version = 2;
  uint8_t model = 80;
  std::string model_name = "Dorvik410-ZEK";
  std::string chip_name = "BF7106AM28";
  std::string object_name = "app.hex";
  uint32_t main_acc32 = 0x00123456, file_acc32 = 0x00654321, parsed_byte_sum = 0x00ABCDEF;
  uint32_t number_limit = 1000;
  uint32_t file1_start = 0x100, file1_end = 0x3FF;
  uint16_t sn_gain = 3;
  uint16_t chip_flash_kb = 1;
  uint32_t flash_bytes = 1024;  // F
  uint16_t eep_size = 16;       // E in the header
  uint16_t info_size = 256;
  uint32_t chip_start = 0, eep_start = 0x40000000, info_start = 0x40000800;
  uint8_t spare = 0x5C;
  // In the header and at bytes 36-43 of the configuration area; unset,
  // the sums of the sections the file holds.
  std::optional<CarriedSums> header_sums, config_sums;
  // FlashSizeKB and EepSize at bytes 12-15 of the configuration area; unset,
  // those of the sections, as the station writes them.
  std::optional<uint16_t> config_flash_kb, config_eep_size;
  // The chip class at byte 6 of the configuration area.
  uint8_t chip_class = 0x00;
  // The configuration area repeats header fields (the names, SNGain,
  // InfoSize, the three start addresses) and OptionBuffer[0 .. 187], and
  // carries Check16 and the 16-bit sum at 252-255 and 508-511, as an image
  // builder writes them. false: the area is the bare pattern there.
  bool config_as_built = true;
  std::string cfg_tag = "CFG", mfm_tag = "MFM", eep_tag = "EEP";
  bool with_config_area = true;  // false: the area is left out
  bool with_main_section = true;
  std::optional<uint16_t> section_eep_size;  // E in the EEP section; the header's when unset
  uint32_t sum_offset = 0;                   // added to the stored sum
  // Contents: byte i of each is its pattern at i.
  uint8_t config_seed = 0x21, main_seed = 0x43, eep_seed = 0x65;
};

// Byte i of an area filled from seed.
uint8_t Pattern(uint8_t seed, size_t i);
// Byte i of the table T the builder stores.
uint8_t TableByte(size_t i);

// The sums of the sections `fields` describe: main over its F bytes, EEP
// over the EEP section's bytes.
CarriedSums SectionSums(const ProjectFields& fields);

struct BuiltProject {
  ProjectBytes bytes;
  ProjectBytes config_area;  // the 2048 bytes as they read back
  size_t main_at = 0;  // the main section's first key byte
  size_t config_at = 0;  // the configuration area's first data byte
  size_t eep_tag_at = 0;
  size_t sum_at = 0;
};

BuiltProject BuildProject(const ProjectFields& fields);

// Decodes `size` bytes of the section whose first key byte is at `at`,
// with T from the file; the keys must stand after every 1024 bytes.
ProjectBytes DecodeSection(const ProjectBytes& file, size_t at, size_t size);

// Sum of file[0 .. end - 1] and the 4 bytes stored at end.
uint32_t SumBefore(const ProjectBytes& file, size_t end);
uint32_t Get32At(const ProjectBytes& file, size_t at);

}  // namespace zek::testing
