// The two editions differ only in their texts: the same command-line run
// sends every unit the same bytes and leaves the same files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "tests/window_e2e/station_run.h"

namespace zek::testing {
namespace {

using namespace std::chrono_literals;

struct EditionRun {
  std::map<int, std::vector<uint8_t>> received;  // by unit
  std::vector<std::string> result;
  std::vector<std::string> log;
};

EditionRun RunEdition(const std::string& program) {
  EditionRun run;
  StationFolder f(10, {}, program);
  const std::optional<int> status = f.Run({f.Project(), "OFF"}, 60s);
  EXPECT_EQ(status, std::optional<int>(0)) << program;
  std::ifstream in(f.Path("ResDW.Txt"));
  for (std::string line; std::getline(in, line);) run.result.push_back(line);
  run.log = f.NewestLog().value_or(std::vector<std::string>{});
  EXPECT_EQ(f.Units().Stop(), 0);
  for (int unit = 1; unit <= 10; ++unit) run.received[unit] = TempDir::Read(f.DumpDir() + "/COM" + std::to_string(unit) + ".received");
  return run;
}

TEST(Editions, BothSendTheSameBytesAndWriteTheSameFiles) {
  // The generator starts from the same seed in every run, so the random
  // words of the configuration images are the same too.
  const EditionRun english = RunEdition(STATION_EXE);
  const EditionRun chinese = RunEdition(STATION_EXE_ZH);
  for (int unit = 1; unit <= 10; ++unit) {
    EXPECT_GT(english.received.at(unit).size(), size_t{kDemoKB} * 1024) << "unit " << unit;
    EXPECT_TRUE(english.received.at(unit) == chinese.received.at(unit)) << "unit " << unit << " was sent other bytes";
  }
  EXPECT_EQ(english.result, std::vector<std::string>{"Download Success"});
  EXPECT_EQ(chinese.result, english.result);
  EXPECT_FALSE(english.log.empty());
  EXPECT_EQ(chinese.log.size(), english.log.size());
}

}  // namespace
}  // namespace zek::testing
