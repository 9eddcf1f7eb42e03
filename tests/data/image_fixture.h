#pragma once
// A station with a chosen part and fresh images, and views of what the
// object-file readers left in them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "station/data/chip_memory_map.h"
#include "tests/support/fake_views.h"

namespace zek::testing {

class ImageFixture : public ::testing::Test {
 protected:
  // A class 0x00 part by default: flash 0-0xFFFF, EEPROM 0x40000000-0x40000FFF.
  void SetUp() override { Select(0x00, 64, 4096); }
  void Select(uint8_t class_code, uint16_t flash_kb, uint16_t eep_size) {
    ResetBuffers(st);
    st.ChipClassCode = class_code;
    st.ChipFlashSizeKB = flash_kb;
    st.EepSize = eep_size;
    SetMemoryMap(st);
  }
  std::vector<uint8_t> Main(uint32_t at, size_t n) const {
    return {st.MainBuffer.begin() + at, st.MainBuffer.begin() + at + n};
  }
  std::vector<uint8_t> Eep(uint32_t at, size_t n) const {
    return {st.EepBuffer.begin() + at, st.EepBuffer.begin() + at + n};
  }
  bool ImagesUntouched() const {
    auto ff = [](uint8_t b) { return b == 0xFF; };
    return std::all_of(st.MainBuffer.begin(), st.MainBuffer.end(), ff) &&
           std::all_of(st.EepBuffer.begin(), st.EepBuffer.end(), ff);
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : fs.boxes.shown) t.push_back(b.text);
    return t;
  }

  FakeStation fs;
  StationState& st = fs.st;
};

}  // namespace zek::testing
