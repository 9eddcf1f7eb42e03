#pragma once
// A unit and a station-side chip setup with a patterned main image and
// EEPROM block whose sums are already in the settings.

#include <gtest/gtest.h>

#include "tests/unit-sim/station_side.h"

namespace zek::sim::testing {

class UnitTest : public ::testing::Test {
 protected:
  UnitTest() : main_(0x200000 + 4096, 0xFF), eep_(4096, 0xFF) {
    for (size_t i = 0; i < 30 * 1024; ++i) main_[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    for (size_t i = 0; i < 256; ++i) eep_[i] = static_cast<uint8_t>(0xA0 ^ i);
    Resum();
  }
  void Resum() { SetSums(setup_, main_, eep_); }

  // One reply expected; returns it.
  Reply One(const Bytes& packet) {
    auto replies = Exchange(unit_, packet);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Reply{} : replies[0];
  }
  uint8_t StatusOf(const Bytes& packet) { return One(packet).status; }
  Bytes Block(uint16_t index) const {
    return Bytes(main_.begin() + index * 1024, main_.begin() + index * 1024 + 4096);
  }
  void ProgramAll() {
    for (uint16_t i = 0; i < setup_.flash_kb; i += 4) ASSERT_EQ(StatusOf(WithSettings(0x95, i, setup_, Block(i))), 6);
  }

  SimUnit unit_;
  ChipSetup setup_;
  Bytes main_, eep_;
};

}  // namespace zek::sim::testing
