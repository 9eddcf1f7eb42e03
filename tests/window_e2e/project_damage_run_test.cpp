// A project damaged in a way its byte sum misses, run from the command
// line: the station refuses it, and the units are sent nothing of it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <set>

#include "tests/support/firmware_fixture.h"
#include "tests/window_e2e/station_run.h"

namespace zek::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr size_t kTableAt = 354;
constexpr size_t kConfigKeyAt = 2406;
constexpr size_t kConfigAt = 2407;
constexpr size_t kSumFromEnd = 256 + 4;

uint32_t StoredSum(const std::vector<uint8_t>& file) {
  const size_t at = file.size() - kSumFromEnd;
  return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<uint32_t>(file[at + 3]) << 24);
}

uint32_t SumOfBytes(const std::vector<uint8_t>& file) {
  return std::accumulate(file.begin(), file.end() - kSumFromEnd, uint32_t{0});
}

uint8_t ConfigByte(const std::vector<uint8_t>& file, size_t i) {
  return file[kConfigAt + i] ^ file[kTableAt + i] ^ file[kConfigKeyAt];
}

// Swaps the stored bytes of configuration bytes i and i + 1 (the next pair
// that differs): the file's byte sum stays right.
// Returns the first of them.
size_t SwapConfigPair(std::vector<uint8_t>& file, size_t i) {
  while (file[kConfigAt + i] == file[kConfigAt + i + 1]) ++i;
  std::swap(file[kConfigAt + i], file[kConfigAt + i + 1]);
  return i;
}

// The command codes of the frames in bytes a unit received.
std::set<uint8_t> CommandsIn(const std::vector<uint8_t>& received) {
  std::set<uint8_t> codes;
  bool in_frame = false;
  for (size_t i = 0; i < received.size(); ++i) {
    if (received[i] != 0xC0) continue;
    in_frame = !in_frame;
    if (in_frame && i + 1 < received.size() && received[i + 1] != 0xC0) codes.insert(received[i + 1]);
  }
  return codes;
}

TEST(DamagedProject, TwoSwappedPairsInTheConfigurationAreaAreRefusedAndNothingIsSent) {
  StationFolder f(2);
  std::vector<uint8_t> file = TempDir::Read(f.Project());
  const std::vector<uint8_t> saved = file;
  const size_t chip_out_time = SwapConfigPair(file, 53);
  SwapConfigPair(file, 75);  // SNAddress
  ASSERT_NE(ConfigByte(file, chip_out_time), ConfigByte(saved, chip_out_time));
  ASSERT_EQ(SumOfBytes(file), StoredSum(file));
  const std::string path = f.Path("p.RQT");
  WriteBytes(path, file);

  const std::optional<int> status = f.Run({path, "OFF"}, 60s);
  ASSERT_TRUE(status.has_value()) << "the station did not exit";
  EXPECT_EQ(*status, 1);
  EXPECT_FALSE(fs::exists(f.Path("ResDW.Txt")));
  const auto log = f.NewestLog();
  ASSERT_TRUE(log.has_value()) << "no system-named log file";
  const auto ends_with = [&](const std::string& end) {
    return std::any_of(log->begin(), log->end(), [&](const std::string& l) {
      return l.size() >= end.size() && l.compare(l.size() - end.size(), end.size(), end) == 0;
    });
  };
  EXPECT_TRUE(ends_with(" Project File Data Has Been Corrupted!"));
  EXPECT_TRUE(ends_with(" Project File of " + path + " is corrupted!"));

  ASSERT_EQ(f.Units().Stop(), 0);
  for (int unit = 1; unit <= 2; ++unit) {
    const std::set<uint8_t> codes = CommandsIn(TempDir::Read(f.DumpDir() + "/COM" + std::to_string(unit) + ".received"));
    EXPECT_FALSE(codes.empty()) << "unit " << unit << " was never asked who it is";
    for (uint8_t download : {0x53, 0x55, 0x5A}) EXPECT_EQ(codes.count(download), 0u) << "unit " << unit;
  }
}

}  // namespace
}  // namespace zek::testing
