// Ten units found, then blank check, program and verify of one image on
// all ten at once, over real ports.
#include <gtest/gtest.h>

#include <algorithm>

#include "station/data/byte_sums.h"
#include "station/data/format.h"
#include "station/link/operation_steps.h"
#include "tests/e2e/station_rig.h"

namespace zek::testing {
namespace {

constexpr uint16_t kImageKB = 128;
constexpr uint32_t kImageBytes = uint32_t{kImageKB} * 1024;
const char* const kIdentity = "DorvikLumqo-ZEK V2.05, Dorvik410";

std::vector<std::string> ComNames(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back("COM" + std::to_string(i));
  return names;
}

std::vector<int> AllSlots() {
  std::vector<int> slot_list(kPortSlots);
  for (int i = 0; i < kPortSlots; ++i) slot_list[i] = i;
  return slot_list;
}

class TenUnits : public ::testing::Test {
 protected:
  TenUnits() : sim({"-n", "10", "--unpaced"}) {
    rig.ListPorts(ComNames(10));
    LoadTestImage(rig.fs.st, kImageKB, 41);
  }

  // Runs one command on all ten slot_list and expects each to end with `last`.
  void RunOnAll(StepStarter starter, const std::string& last) {
    ASSERT_EQ(rig.StartOnConnected(starter), AllSlots());
    ASSERT_TRUE(rig.RunUntil([&] { return rig.SlotsIdle(AllSlots()); }, 30s));
    for (int slot = 0; slot < kPortSlots; ++slot) {
      EXPECT_EQ(rig.LastMessage(slot), last) << "slot " << slot;
      EXPECT_EQ(rig.fs.gauges[slot].color, kGaugeBlue) << "slot " << slot;
    }
  }

  SimUnits sim;
  StationRig rig;
};

TEST_F(TenUnits, FindIdentifiesEveryUnitInListOrder) {
  ASSERT_TRUE(rig.FindUnits(10));
  // The list is sorted as text, so slot 1 gets COM10.
  const std::vector<std::string> listed = rig.port_list.Items();
  ASSERT_EQ(listed.size(), 10u);
  EXPECT_EQ(listed[0], "COM1");
  EXPECT_EQ(listed[1], "COM10");
  for (int slot = 0; slot < kPortSlots; ++slot) {
    EXPECT_EQ(rig.comms[slot]->CommName(), listed[slot]);
    EXPECT_TRUE(rig.comms[slot]->IsOpen());
    EXPECT_EQ(rig.fs.st.PortConnected[slot], 1);
    EXPECT_TRUE(rig.fs.gauges[slot].enabled);
    EXPECT_EQ(rig.PortMessages(slot), (std::vector<std::string>{Format("Found Device %d : %s!", {slot + 1, kIdentity})}));
  }
  EXPECT_EQ(rig.fs.st.DevicesFound, 10);
  EXPECT_EQ(rig.fs.panel.caption, kIdentity);
  // A second search finds them again, not twenty.
  ASSERT_TRUE(rig.FindUnits(10));
  rig.RunUntil([] { return false; }, 100ms);  // any late reply lands
  EXPECT_EQ(rig.fs.st.DevicesFound, 10);
  for (int hangups : rig.hangups) EXPECT_EQ(hangups, 0);
}

TEST_F(TenUnits, BlankCheckProgramAndVerifyRunOnAllTenAtOnce) {
  ASSERT_TRUE(rig.FindUnits(10));
  RunOnAll(StartBlankCheck, "Current Chip is blank!");
  RunOnAll(StartProgram, "Programming Success!");
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(rig.fs.gauges[slot].progress, kImageKB);
  const std::string verified = Format("Main Data verify success! ACC=0x%0.8x,CRC=0x%0.4x.",
                                      {SumBytes(rig.fs.st.MainBuffer.span(), 0, kImageBytes - 1), rig.fs.st.MainCrc16});
  RunOnAll(StartVerifyMain, verified);
  // A programmed chip is no longer blank.
  ASSERT_EQ(rig.StartOnConnected(StartBlankCheck), AllSlots());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.SlotsIdle(AllSlots()); }, 30s));
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_EQ(rig.LastMessage(slot), "Chip is not blank!");
  for (int hangups : rig.hangups) EXPECT_EQ(hangups, 0);
}

TEST_F(TenUnits, EveryChipReadsBackTheImageByteForByte) {
  ASSERT_TRUE(rig.FindUnits(10));
  RunOnAll(StartProgram, "Programming Success!");
  const auto image = rig.fs.st.MainBuffer.span().first(kImageBytes);
  for (int slot = 0; slot < kPortSlots; ++slot) {
    std::fill(rig.fs.st.ReadMainBuffer.begin(), rig.fs.st.ReadMainBuffer.end(), 0x00);
    rig.StartReadMain(slot);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.SlotsIdle({slot}); }, 30s)) << "slot " << slot;
    EXPECT_EQ(rig.LastMessage(slot), "Data has been read out!");
    const auto read = rig.fs.st.ReadMainBuffer.span().first(kImageBytes);
    auto diff = std::mismatch(image.begin(), image.end(), read.begin());
    EXPECT_TRUE(diff.first == image.end()) << "slot " << slot << " differs at 0x" << std::hex
                                           << (diff.first - image.begin());
  }
}

TEST_F(TenUnits, TheSimulatorStopsCleanlyOnSigterm) {
  ASSERT_TRUE(rig.FindUnits(10));
  EXPECT_EQ(sim.Stop(), 0);
  // Both ends of every link close: each slot asks to hang up.
  EXPECT_TRUE(rig.RunUntil([&] { return std::all_of(rig.hangups.begin(), rig.hangups.end(), [](int h) { return h > 0; }); }, 5s));
  for (int slot = 0; slot < kPortSlots; ++slot) EXPECT_FALSE(rig.comms[slot]->IsOpen());
}

}  // namespace
}  // namespace zek::testing
