#pragma once
// Checks of a project's configuration area beyond the file's byte sum: the
// image's own check words, and the header fields it holds a copy of. A
// swap of stored bytes keeps the byte sum but not these.

#include <cstdint>
#include <span>
#include <string_view>

namespace zek {

// The header values a read applies that the configuration image repeats.
struct ProjectHeaderCopies {
  std::string_view chip_name, object_file_name;  // GBK as stored, up to the first zero
  uint16_t sn_gain = 0, info_size = 0;
  uint32_t chip_start = 0, main_section_start = 0, eep_start = 0, info_start = 0;
};

// Whether both check/sum pairs of the image (bytes 252-255 and 508-511)
// are those the image builder writes over the bytes before them.
bool ConfigImageSealed(std::span<const uint8_t> area);

// Whether the header agrees with the image: the numbers, the two names as
// far as both fields hold them, and the option bytes the image keeps twice.
bool HeaderMatchesConfigImage(const ProjectHeaderCopies& header, std::span<const uint8_t> area);

}  // namespace zek
