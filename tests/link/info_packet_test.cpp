#include "station/link/info_packet.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "station/data/errors.h"
#include "tests/data/temp_dir.h"
#include "tests/support/fake_views.h"
#include "tests/support/case_names.h"

namespace zek {
namespace {

namespace fs_ = std::filesystem;

// A slot with a gauge in a state no report sets, so "unchanged" shows.
struct InfoFixture : ::testing::Test {
  void SetUp() override {
    gauge().max = 33;
    gauge().progress = 7;
    gauge().color = kMarked;
  }
  testing::FakeGauge& gauge() { return fs.gauges[kSlot]; }

  // Puts an information packet in the slot's packet area; byte 7 makes the
  // first eight bytes add up to 0 (plus `sum_error`).
  void Put(uint8_t step, uint8_t status = 0, uint16_t progress = 0, uint16_t max = 0, uint8_t sum_error = 0,
           int slot = kSlot) {
    uint8_t* p = fs.st.PortPacketBuf[slot].data();
    const uint8_t head[7] = {0xFD,
                             step,
                             status,
                             static_cast<uint8_t>(progress),
                             static_cast<uint8_t>(progress >> 8),
                             static_cast<uint8_t>(max),
                             static_cast<uint8_t>(max >> 8)};
    uint8_t sum = 0;
    for (int i = 0; i < 7; ++i) sum = static_cast<uint8_t>(sum + (p[i] = head[i]));
    p[7] = static_cast<uint8_t>(0u - sum + sum_error);
  }
  void Complete(uint8_t status, int slot = kSlot) {
    Put(240, status, 0, 0, 0, slot);
    HandleInfoPacket(fs.st, static_cast<uint8_t>(slot));
  }

  static constexpr int kSlot = 1;
  static constexpr GaugeColor kMarked{1, 2, 3};
  testing::FakeStation fs;
};

struct StepCase {
  uint8_t step;
  uint16_t progress, max;
  const char* line;  // null: no line
  int position, maximum;
  bool blue;
};

class ProgressReports : public InfoFixture, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ProgressReports, ShowTheStepAndMoveTheGauge) {
  const StepCase& c = GetParam();
  Put(c.step, 0x55, c.progress, c.max);
  HandleInfoPacket(fs.st, kSlot);
  std::vector<std::string> expected;
  if (c.line) expected.push_back(std::string("> 10:15:02 C2: ") + c.line);
  EXPECT_EQ(fs.memo.lines, expected);
  EXPECT_EQ(gauge().progress, c.position);
  EXPECT_EQ(gauge().max, c.maximum);
  EXPECT_EQ(gauge().color, c.blue ? kGaugeBlue : kMarked);
  EXPECT_EQ(fs.st.TotalOKCount + fs.st.TotalNGCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ProgressReports,
    ::testing::Values(StepCase{16, 9, 9, "Initial Programming Interface ....", 5, 100, true},
                      StepCase{32, 9, 9, "Chip Blank Checking....", 50, 100, false},
                      StepCase{48, 9, 9, "Do Chip Erasing....", 50, 100, false},
                      StepCase{64, 0, 96, "Do Main Flash Programming....", 2, 96, false},
                      StepCase{64, 40, 96, nullptr, 42, 96, false},
                      StepCase{64, 0xFFFF, 0xFFFF, nullptr, 0x10001, 0xFFFF, false},
                      StepCase{80, 0, 8, "Do EEP Data Programming....", 2, 8, false},
                      StepCase{80, 5, 8, "Do EEP Data Programming....", 7, 8, false},
                      StepCase{112, 9, 9, "Do Main Flash Verification....", 50, 100, false},
                      StepCase{128, 9, 9, "Do EEP Data Verification....", 50, 100, false},
                      StepCase{160, 9, 9, "Do Chip Option Byte Programming....", 50, 100, false},
                      // not a step: nothing at all
                      StepCase{0, 9, 9, nullptr, 7, 33, false}, StepCase{96, 9, 9, nullptr, 7, 33, false},
                      StepCase{241, 9, 9, nullptr, 7, 33, false}),
                         [](const auto& info) { return "Step" + std::to_string(info.param.step) + "_" + std::to_string(info.param.progress) + "of" + std::to_string(info.param.max); });

TEST_F(InfoFixture, APacketWhoseSumIsNotZeroChangesNothing) {
  for (uint8_t step : {16, 64, 240}) {
    Put(step, 6, 0, 50, 1);
    HandleInfoPacket(fs.st, kSlot);
  }
  EXPECT_TRUE(fs.memo.lines.empty());
  EXPECT_EQ(gauge().progress, 7);
  EXPECT_EQ(gauge().max, 33);
  EXPECT_EQ(gauge().color, kMarked);
  EXPECT_EQ(fs.st.PortOKCount[kSlot], 0);
  EXPECT_EQ(fs.st.LogRunCount, 0u);
}

TEST_F(InfoFixture, BytesAfterTheEighthAreNotPartOfTheSum) {
  Put(32);
  fs.st.PortPacketBuf[kSlot][8] = 0x77;
  HandleInfoPacket(fs.st, kSlot);
  EXPECT_EQ(fs.memo.lines, std::vector<std::string>{"> 10:15:02 C2: Chip Blank Checking...."});
}

struct CompletionCase {
  uint8_t status;
  const char* result;  // after "Programming Completed : "
  bool good;
};

class Completions : public InfoFixture, public ::testing::WithParamInterface<CompletionCase> {};

TEST_P(Completions, CountTheChipAndAddTheTotals) {
  const CompletionCase& c = GetParam();
  Complete(c.status);
  const std::vector<std::string> expected = {
      std::string("> 10:15:02 C2: Programming Completed : ") + c.result,
      c.good ? "> 10:15:02 C2: OK=1, NG=0." : "> 10:15:02 C2: OK=0, NG=1.",
      c.good ? "> 10:15:02 Total OK Number is 1, NG is 0." : "> 10:15:02 Total OK Number is 0, NG is 1.",
  };
  EXPECT_EQ(fs.memo.lines, expected);
  EXPECT_EQ(gauge().progress, 33);
  EXPECT_EQ(gauge().max, 33);
  EXPECT_EQ(gauge().color, c.good ? kMarked : kGaugeRed);
  EXPECT_EQ(fs.st.PortOKCount[kSlot], c.good ? 1 : 0);
  EXPECT_EQ(fs.st.PortNGCount[kSlot], c.good ? 0 : 1);
  EXPECT_EQ(fs.st.LogRunCount, 1u);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, Completions,
                         ::testing::Values(CompletionCase{6, "Successed !", true},
                                           CompletionCase{30, "Error：芯片未设定读保护！", false},
                                           CompletionCase{0x4A, "Failed : Error=0x4A!", false},
                                           CompletionCase{0, "Failed : Error=0x00!", false},
                                           CompletionCase{0xFF, "Failed : Error=0xFF!", false}),
                         [](const auto& info) { return "Status" + ::zek::testing::Hex(info.param.status); });

TEST_F(InfoFixture, CountsPerSlotAndOverAllSlots) {
  Complete(6, 0);
  Complete(6, 3);
  Complete(0x31, 3);
  Complete(6, 3);
  EXPECT_EQ(fs.memo.lines[fs.memo.lines.size() - 2], "> 10:15:02 C4: OK=2, NG=1.");
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 Total OK Number is 3, NG is 1.");
  EXPECT_EQ(fs.st.PortOKCount[0], 1);
  EXPECT_EQ(fs.st.PortNGCount[0], 0);
  EXPECT_EQ(fs.st.LogRunCount, 4u);
}

TEST_F(InfoFixture, ASlotOutsideTheTableIsIgnored) {
  Put(240, 6, 0, 0, 0, 10);
  HandleInfoPacket(fs.st, 10);
  HandleInfoPacket(fs.st, 255);
  EXPECT_TRUE(fs.memo.lines.empty());
  EXPECT_EQ(fs.st.TotalOKCount, 0);
}

// The automatic log save into a scratch program folder.
struct LogSaveFixture : InfoFixture {
  void SetUp() override {
    InfoFixture::SetUp();
    dir = fs_::temp_directory_path() / ("zek_info_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs_::remove_all(dir);
    fs_::create_directories(dir);
    fs.st.AppDir = dir.string() + "/";
  }
  void TearDown() override { fs_::remove_all(dir); }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs_::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
  }
  std::vector<std::string> ReadLines(const std::string& name) const { return testing::ReadLines((dir / name).string()); }
  fs_::path dir;
};

TEST_F(LogSaveFixture, The500thCompletionSavesTheLogAndThe501stDoesNot) {
  fs.clock.Set("2026-12-08", "07:20:05");
  for (int run = 1; run < 500; ++run) Complete(run % 7 == 0 ? 0x41 : 6, run % 10);
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(fs.st.LogRunCount, 499u);
  Complete(6, 4);
  ASSERT_EQ(Files(), std::vector<std::string>{"Qrmx_2026_12_08_07_20_05.log"});
  EXPECT_EQ(fs.st.LogRunCount, 0u);
  EXPECT_EQ(ReadLines("Qrmx_2026_12_08_07_20_05.log"), fs.memo.lines);
  EXPECT_EQ(fs.memo.lines.size(), 1500u);  // the memo is not cleared
  EXPECT_EQ(fs.memo.lines.back(), "> 07:20:05 Total OK Number is 429, NG is 71.");

  fs.clock.Set("2026-12-08", "07:20:06");
  Complete(6, 4);
  EXPECT_EQ(Files().size(), 1u);
  EXPECT_EQ(fs.st.LogRunCount, 1u);
}

TEST_F(LogSaveFixture, TheNameTakesDateAndTimeWithUnderscores) {
  struct Moment {
    const char* date;
    const char* time;
    const char* file;
  };
  const Moment moments[] = {{"2026-12-08", "07:20:05", "Qrmx_2026_12_08_07_20_05.log"},
                            {"2026/12/08", "23:59:59", "Qrmx_2026_12_08_23_59_59.log"},
                            {"08-12-2026", "7:01:02", "Qrmx_08_12_2026_7_01_02.log"}};
  for (const Moment& m : moments) {
    fs.clock.Set(m.date, m.time);
    fs.st.LogRunCount = 499;
    Complete(6);
    EXPECT_TRUE(fs_::exists(dir / m.file)) << m.file;
  }
}

TEST_F(LogSaveFixture, ASaveReplacesAFileOfTheSameName) {
  {
    std::ofstream old(dir / "Qrmx_2026_12_08_10_15_02.log");
    for (int i = 0; i < 5000; ++i) old << "an older and much longer log\n";
  }
  fs.st.LogRunCount = 499;
  Complete(6);
  EXPECT_EQ(ReadLines("Qrmx_2026_12_08_10_15_02.log"), fs.memo.lines);
}

TEST_F(LogSaveFixture, AFailedSaveRaisesAFileErrorAfterCounting) {
  fs.st.AppDir = (dir / "missing").string() + "/";
  fs.st.LogRunCount = 499;
  Put(240, 6);
  try {
    HandleInfoPacket(fs.st, kSlot);
    FAIL() << "no FileError";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(fs.st.TotalOKCount, 1);
  EXPECT_EQ(fs.st.LogRunCount, 0u);
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 Total OK Number is 1, NG is 0.");
}

}  // namespace
}  // namespace zek
