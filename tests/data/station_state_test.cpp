#include "station/data/station_state.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "station/data/byte_sums.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

TEST(InitPortTables, MakesEverySlotIdleAndLeavesEntryTenZero) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  for (int p = 0; p < kPortSlots; ++p) {
    EXPECT_EQ(st.PortState[p], 80);
    EXPECT_EQ(st.PortTimeout[p], 200);
    EXPECT_EQ(st.PortBusy[p], 0);
    EXPECT_EQ(st.PortConnected[p], 0);
    EXPECT_EQ(st.PortComm[p], &fs.ports[p]);
    EXPECT_EQ(st.PortGauge[p], &fs.gauges[p]);
  }
  EXPECT_EQ(st.PortState[10], 0);
  EXPECT_EQ(st.PortTimeout[10], 0);
  EXPECT_EQ(st.PortComm[10], nullptr);
  EXPECT_EQ(st.PortGauge[10], nullptr);
}

TEST(InitPortTables, ResetsASlotThatWasInUse) {
  testing::FakeStation fs;
  StationState& st = fs.st;
  st.PortState[4] = 22;
  st.PortBusy[4] = 1;
  st.PortRxLen[4] = 77;
  st.PortUpgrading[4] = 1;
  st.PortAutoSeq[4] = 1;
  st.DevicesFound = 3;
  InitPortTables(st, {}, {});
  EXPECT_EQ(st.PortState[4], 80);
  EXPECT_EQ(st.PortBusy[4], 0);
  EXPECT_EQ(st.PortRxLen[4], 0);
  EXPECT_EQ(st.PortUpgrading[4], 0);
  EXPECT_EQ(st.PortAutoSeq[4], 0);
  EXPECT_EQ(st.DevicesFound, 0);
}

TEST(StationState, StartsWithTheStartUpSettings) {
  StationState st;
  EXPECT_EQ(st.Settings.CtrlFlags7, 0);
  EXPECT_EQ(st.Settings.CtrlFlags8, 0);
  EXPECT_EQ(st.Settings.SettingByte51, 10);
  EXPECT_EQ(st.Settings.AutoDetectFlags, 7);
  EXPECT_EQ(st.Settings.OkNgDelay, 70);
  EXPECT_EQ(st.FamilyCode, 0x45);
  EXPECT_EQ(st.FirmwareStartAddress, 4096);
  EXPECT_EQ(std::string(st.FirmwareVersion.data(), 8), std::string(8, '\0'));
  EXPECT_EQ(st.MainBuffer.size(), 0x200000u);
  for (const auto* image : {st.MainBuffer.data(), st.ReadMainBuffer.data()})
    EXPECT_TRUE(std::all_of(image, image + 0x200000, [](uint8_t b) { return b == 0xFF; }));
  for (const auto* image : {st.EepBuffer.data(), st.ReadEepBuffer.data()})
    EXPECT_TRUE(std::all_of(image, image + 0x8000, [](uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::all_of(st.OptionBuffer.begin(), st.OptionBuffer.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::all_of(st.FirmwareImage.begin(), st.FirmwareImage.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(st.EepBuffer.size(), 0x8000u);
  EXPECT_EQ(st.OptionBuffer.size(), 0x400u);
}

TEST(StationState, TransmitBufferHoldsTheWorstCaseFrame) {
  // A 4170-byte packet of nothing but 0xC0 doubles, plus both delimiters
  // and the five 0xFF.
  EXPECT_GE(kTxBufSize, 2u * 4170u + 7u);
  EXPECT_GE(kFrameBufSize, kRxBufSize);
  EXPECT_GE(kPacketBufSize, kFrameBufSize);
}

// seed := seed * 134775813 + 1; draw := (n * seed) >> 32.
//   seed 1:          (n * 1) >> 32 = 0 for any 32-bit n
//   seed 134775814:  0x08088406, so n = 256 gives 0x08
//   seed 0xDC6DAC1F: 134775814 * 134775813 + 1 mod 2^32; n = 256 gives 0xDC
TEST(RandomGenerator, DrawsTheFixedSequenceFromSeedZero) {
  RandomGenerator r;
  EXPECT_EQ(r.Seed(), 0u);
  const uint32_t expected_256[] = {0, 8, 220, 51, 69, 171};
  const uint32_t seeds[] = {0x1, 0x08088406, 0xDC6DAC1F, 0x33DC589C, 0x45DE2B0D, 0xABF18B42};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(r.Below(256), expected_256[i]) << i;
    EXPECT_EQ(r.Seed(), seeds[i]) << i;
  }
  RandomGenerator other;
  const uint32_t expected_65536[] = {0, 2056, 56429};
  for (uint32_t v : expected_65536) EXPECT_EQ(other.Below(65536), v);
}

TEST(ByteSums, SumAndCheckOverInclusiveRanges) {
  const uint8_t bytes[] = {0x01, 0x00, 0xFF, 0x80};
  std::span<const uint8_t> b(bytes);
  EXPECT_EQ(SumBytes(b, 0, 3), 0x180u);
  EXPECT_EQ(SumBytes(b, 2, 2), 0xFFu);
  EXPECT_EQ(SumBytes(b, 3, 2), 0u);
  EXPECT_EQ(SumBytes(b, 0, 100), 0x180u);  // clipped to the buffer
  EXPECT_EQ(Check16(b, 0, 0), 0x0001);
  EXPECT_EQ(Check16(b, 0, 1), 0x4A12);
  EXPECT_EQ(Check16(b, 1, 0), 0);
  EXPECT_EQ(Check16(b, 0x1000000, 0x1000001), 0);
  EXPECT_EQ(Check16(b, 0, 0x1000000), 0);
}

}  // namespace
}  // namespace zek
