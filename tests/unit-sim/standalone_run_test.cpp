// Chips programmed by a unit on its own: the 0xFD reports and outcomes.
#include "tests/unit-sim/unit_fixture.h"
#include "tools/unit-sim/wire_bytes.h"

namespace zek::sim::testing {
namespace {

struct Report {
  uint8_t step, status;
  uint16_t progress, maximum;
  bool operator==(const Report&) const = default;
};

class StandaloneTest : public UnitTest {
 protected:
  // Runs one chip and returns its reports as the station would read them.
  std::vector<Report> RunOnce(uint8_t ng_status = 0) {
    EXPECT_TRUE(unit_.StartStandaloneRun(ng_status));
    while (unit_.EmitNextReport()) {
    }
    std::vector<Report> reports;
    for (const Reply& r : DecodeReplies(unit_.TakeOutput())) {
      const Bytes& p = r.packet;
      EXPECT_EQ(p[0], 0xFD);
      EXPECT_EQ(zek::sim::ByteSum(std::span(p).first(8)) & 0xFF, 0u);  // the station's acceptance test
      reports.push_back({p[1], p[2], Get16(p, 3), Get16(p, 5)});
    }
    return reports;
  }
  std::vector<uint8_t> Steps(const std::vector<Report>& rs) {
    std::vector<uint8_t> s;
    for (const Report& r : rs) s.push_back(r.step);
    return s;
  }
};

TEST_F(StandaloneTest, NeedsACompleteDownloadAndTheResetIntoOffLine) {
  EXPECT_FALSE(unit_.StartStandaloneRun());
  Exchange(unit_, ConfigCommand(setup_, 1, Bytes(1024, 0xFF)));
  unit_.Feed(Frame(ResetCommand(0x8A)));
  EXPECT_FALSE(unit_.StartStandaloneRun());  // no blocks yet
  Download(unit_, setup_, main_);
  EXPECT_TRUE(unit_.CanRunStandalone());
}

TEST_F(StandaloneTest, GoodRunReportsEveryStepAndProgramsTheChip) {
  Download(unit_, setup_, main_);
  auto reports = RunOnce();
  std::vector<uint8_t> want{16, 32, 64, 64, 64, 64, 64, 64, 64, 64, 112, 240};
  EXPECT_EQ(Steps(reports), want);
  for (uint16_t k = 0; k < 8; ++k) EXPECT_EQ(reports[2 + k], (Report{64, 0, k, 9}));
  EXPECT_EQ(reports.back(), (Report{240, 6, 0, 0}));
  EXPECT_TRUE(std::equal(main_.begin(), main_.begin() + 30 * 1024, unit_.Chip().Flash().begin()));
  EXPECT_EQ(unit_.RunsGood(), 1);
}

TEST_F(StandaloneTest, UsedChipsAreErasedFirst) {
  SimUnit used({.used_chips = true});
  Download(used, setup_, main_);
  ASSERT_TRUE(used.StartStandaloneRun());
  std::vector<uint8_t> steps;
  while (used.EmitNextReport()) {
  }
  for (const Reply& r : DecodeReplies(used.TakeOutput())) steps.push_back(r.packet[1]);
  ASSERT_GE(steps.size(), 3u);
  EXPECT_EQ(steps[2], 48);
  EXPECT_EQ(used.RunsGood(), 1);
}

TEST_F(StandaloneTest, EepromAndOptionStepsFollowTheDownload) {
  setup_.eep_size = 2048;
  setup_.ctrl2 = 0x40;
  setup_.option_start = 0x201E0;
  setup_.ctrl4 = 0x20;
  Resum();
  Download(unit_, setup_, main_, &eep_);
  auto steps = Steps(RunOnce());
  std::vector<uint8_t> tail(steps.end() - 6, steps.end());
  EXPECT_EQ(tail, (std::vector<uint8_t>{80, 80, 112, 128, 160, 240}));
  EXPECT_EQ(unit_.RunsGood(), 1);
  EXPECT_TRUE(std::equal(eep_.begin(), eep_.begin() + 2048, unit_.Chip().Eeprom().begin()));
}

TEST_F(StandaloneTest, ImageThatDisagreesWithItsSumsEndsNg52) {
  ChipSetup wrong = setup_;
  wrong.main_acc += 1;
  Download(unit_, wrong, main_);
  EXPECT_EQ(RunOnce().back(), (Report{240, 52, 0, 0}));
  EXPECT_EQ(unit_.RunsFailed(), 1);
}

struct RunFaultCase {
  const char* name;
  Step step;
  uint8_t status;
  uint8_t last_step_before_end;
};

class RunFaults : public StandaloneTest, public ::testing::WithParamInterface<RunFaultCase> {};

TEST_P(RunFaults, StopTheRunAtTheirStep) {
  Download(unit_, setup_, main_);
  unit_.Faults().Add({FaultKind::Status, GetParam().step, -1, GetParam().status});
  auto reports = RunOnce();
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(reports.back(), (Report{240, GetParam().status, 0, 0}));
  EXPECT_EQ(reports[reports.size() - 2].step, GetParam().last_step_before_end);
  EXPECT_EQ(unit_.RunsFailed(), 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, RunFaults,
                         ::testing::Values(RunFaultCase{"blank", Step::BlankCheck, 0x4A, 32},
                                           RunFaultCase{"program", Step::Program, 44, 64},
                                           RunFaultCase{"verify_protection_not_set", Step::VerifyMain, 30, 112}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StandaloneTest, ForcedNgAndGoodRunsAreCounted) {
  Download(unit_, setup_, main_);
  EXPECT_EQ(RunOnce().back().status, 6);
  EXPECT_EQ(RunOnce(0x4A).back(), (Report{240, 0x4A, 0, 0}));
  EXPECT_EQ(RunOnce().back().status, 6);
  EXPECT_EQ(unit_.RunsGood(), 2);
  EXPECT_EQ(unit_.RunsFailed(), 1);
}

TEST_F(StandaloneTest, OneRunAtATime) {
  Download(unit_, setup_, main_);
  ASSERT_TRUE(unit_.StartStandaloneRun());
  EXPECT_FALSE(unit_.StartStandaloneRun());
  EXPECT_TRUE(unit_.RunInProgress());
}

TEST_F(StandaloneTest, EachRunGetsANewChip) {
  Download(unit_, setup_, main_);
  RunOnce();
  Bytes first(unit_.Chip().Uid().begin(), unit_.Chip().Uid().end());
  RunOnce();
  EXPECT_NE(first, Bytes(unit_.Chip().Uid().begin(), unit_.Chip().Uid().end()));
}

}  // namespace
}  // namespace zek::sim::testing
