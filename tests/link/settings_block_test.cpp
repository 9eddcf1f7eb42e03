#include "station/link/settings_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fake_views.h"

namespace zek {
namespace {

// A station whose every settings field holds a distinct value.
struct SettingsFixture : ::testing::Test {
  SettingsFixture() {
    StationState& st = fs.st;
    st.FamilyCode = 0x45;
    st.ChipClassCode = 0x82;
    st.ChipIndex = 3;
    st.FlashSizeKB = 0x0160;
    st.EepSize = 0x0400;
    st.PageSize = 0x0200;
    st.InfoSize = 0x0100;
    ProgrammerSettings& s = st.Settings;
    s.AutoDetectFlags = 7;
    s.CtrlFlags = 0x84;
    s.CtrlFlags2 = 0xF8;
    s.CtrlFlags3 = 0x93;
    s.CtrlFlags4 = 0x20;
    s.CtrlFlags5 = 0x05;
    s.CtrlFlags6 = 0x06;
    s.CtrlFlags7 = 0x07;
    s.CtrlFlags8 = 0x08;
    st.ChipStartAddress = 0x11223344;
    st.OptionStartAddress = 0x000201E0;
    st.MainCrc16 = 0xA1A2;
    st.MainAcc16 = 0xB1B2;
    st.EepCrc16 = 0xC1C2;
    st.EepAcc16 = 0xD1D2;
    st.OptionCrc16 = 0xE1E2;
    st.OptionAcc16 = 0xF1F2;
    s.ChipInTime = 17;
    s.ChipOutTime = 18;
    s.PowerOnTime = 10;
    s.SettingByte51 = 51;
    s.SclkSetting = 52;
    s.OkNgDelay = 70;
    s.SNFlags = 0xD3;
    s.SNLength = 4;
    st.EepStartAddress = 0x40000000;
    st.InfoStartAddress = 0x40000800;
  }
  std::vector<uint8_t> Build(size_t offset = 8, int port = 0) {
    BuildSettingsBlock(fs.st, offset, port);
    const uint8_t* p = fs.st.PortPacketBuf[port].data() + offset;
    return {p, p + 64};
  }
  testing::FakeStation fs;
};

TEST_F(SettingsFixture, PutsEveryFieldAtItsOffset) {
  RandomGenerator expected_draws;
  uint8_t random_byte = static_cast<uint8_t>(expected_draws.Below(255));
  uint16_t random_word = static_cast<uint16_t>(expected_draws.Below(65535));
  const std::vector<uint8_t> expected = {
      0x00, 0x45, 0x82, 0x03, random_byte, 0x07, static_cast<uint8_t>(random_word),
      static_cast<uint8_t>(random_word >> 8),
      0x60, 0x01, 0x00, 0x04, 0x00, 0x02, 0x00, 0x01,        // sizes
      0x84, 0xF8, 0x93, 0x20, 0x05, 0x06, 0x07, 0x08,        // control bytes
      0x44, 0x33, 0x22, 0x11, 0xE0, 0x01, 0x02, 0x00,        // chip and option start
      0xA2, 0xA1, 0xB2, 0xB1, 0xC2, 0xC1, 0xD2, 0xD1,        // main and EEPROM sums
      0x00, 0x00, 0x00, 0x00, 0xE2, 0xE1, 0xF2, 0xF1,        // zero, option sums
      17, 18, 10, 51, 52, 70, 0xD3, 4,                       // timings and serial number
      0x00, 0x00, 0x00, 0x40, 0x00, 0x08, 0x00, 0x40};       // EEPROM and info start
  EXPECT_EQ(Build(), expected);
  EXPECT_EQ(fs.st.Random.Seed(), expected_draws.Seed());
}

TEST_F(SettingsFixture, TwoBuildsDifferOnlyInTheRandomBytes) {
  std::vector<uint8_t> first = Build();
  std::vector<uint8_t> second = Build();
  for (size_t i = 0; i < 64; ++i) {
    if (i == 4 || i == 6 || i == 7) continue;
    EXPECT_EQ(first[i], second[i]) << "byte " << i;
  }
  EXPECT_NE(std::vector<uint8_t>({first[4], first[6], first[7]}),
            std::vector<uint8_t>({second[4], second[6], second[7]}));
}

TEST_F(SettingsFixture, RandomValuesStayBelowTheirLimits) {
  for (int i = 0; i < 2000; ++i) {
    std::vector<uint8_t> b = Build();
    ASSERT_LE(b[4], 254);
    ASSERT_LE(b[6] | (b[7] << 8), 65534);
  }
}

TEST_F(SettingsFixture, ABlockThatWouldNotFitIsNotWritten) {
  auto& packet = fs.st.PortPacketBuf[2];
  uint32_t seed = fs.st.Random.Seed();
  BuildSettingsBlock(fs.st, packet.size() - 63, 2);
  BuildSettingsBlock(fs.st, packet.size() + 10, 2);
  EXPECT_EQ(packet[packet.size() - 63 + 1], 0);
  EXPECT_EQ(fs.st.Random.Seed(), seed);
  BuildSettingsBlock(fs.st, packet.size() - 64, 2);  // the last place it fits
  EXPECT_EQ(packet[packet.size() - 63], 0x45);
}

}  // namespace
}  // namespace zek
