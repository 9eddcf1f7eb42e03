#pragma once
// A 16 MiB image with a guard zone behind it, filled with a marker byte, so
// a test sees every byte a loader stored and anything stored beyond 16 MiB.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace rhbtest {

inline constexpr uint8_t kUntouched = 0xEE;
inline constexpr size_t kImageBytes = 0x1000000;
inline constexpr size_t kGuardBytes = 0x1000;

struct ImageBuffer {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kImageBytes + kGuardBytes, kUntouched);
  uint8_t* data() { return bytes.data(); }
  // Number of bytes at or beyond `from` that differ from the marker.
  size_t ChangedFrom(size_t from) const {
    size_t n = 0;
    for (size_t i = from; i < bytes.size(); ++i) n += bytes[i] != kUntouched;
    return n;
  }
  size_t Changed() const { return ChangedFrom(0); }
  std::vector<uint8_t> At(size_t index, size_t n) const {
    return {bytes.begin() + static_cast<long>(index), bytes.begin() + static_cast<long>(index + n)};
  }
};

// Bytes a case expects a loader to have stored at an image index.
struct Stored {
  uint32_t index;
  std::vector<uint8_t> bytes;
};

// The image holds exactly the expected bytes, and nothing else changed.
inline void ExpectOnlyStored(const ImageBuffer& image, const std::vector<Stored>& stored) {
  size_t expected_changes = 0;
  for (const Stored& s : stored) {
    EXPECT_EQ(image.At(s.index, s.bytes.size()), s.bytes) << std::hex << "at 0x" << s.index;
    expected_changes += s.bytes.size();
  }
  EXPECT_EQ(image.Changed(), expected_changes);
}

}  // namespace rhbtest
