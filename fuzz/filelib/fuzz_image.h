#pragma once
// The 16 MiB image every harness stores into: one heap block, so the
// sanitizer flags any store at or beyond 16 MiB.

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace rhbfuzz {

inline uint8_t* Image16M() {
  static uint8_t* image = static_cast<uint8_t*>(std::calloc(0x1000000, 1));
  return image;
}

// A line in a heap block of exactly its size, so any read past its end is
// flagged.
struct ExactLine {
  explicit ExactLine(std::string_view text) : bytes(text.begin(), text.end()) {}
  std::string_view view() const { return {bytes.data(), bytes.size()}; }
  std::vector<char> bytes;
};

inline uint32_t Take32(const uint8_t*& data, size_t& size) {
  uint32_t v = 0;
  for (int i = 0; i < 4 && size > 0; ++i, ++data, --size) v = v << 8 | *data;
  return v;
}

}  // namespace rhbfuzz
