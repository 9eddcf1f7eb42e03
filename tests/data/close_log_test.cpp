#include "station/data/close_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "station/data/errors.h"
#include "tests/data/temp_dir.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

using testing::FakeStation;
using testing::ReadLines;
using testing::TempDir;

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("> 10:15:02 line " + std::to_string(i));
  return lines;
}

TEST(SystemLogPath, ReplacesDateAndTimeSeparatorsButNotTheFolders) {
  FixedClock clock("2026/12/08", "07:11:40");
  // The folder ends in a separator and the name starts with one: doubled,
  // and harmless to the file system.
  EXPECT_EQ(SystemLogPath("/srv/line-2:a/", clock), "/srv/line-2:a//Log/ZEK_2026_12_08_07_11_40.log");
  clock.Set("2026-12-08", "7:11:40");
  EXPECT_EQ(SystemLogPath("/s/", clock), "/s//Log/ZEK_2026_12_08_7_11_40.log");
}

class CloseLogTest : public ::testing::Test {
 protected:
  CloseLogTest() {
    fs.st.AppDir = dir.File("");
    std::filesystem::create_directories(dir.File("Log"));
  }
  std::vector<std::string> LogFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("Log")))
      names.push_back(entry.path().filename().string());
    return names;
  }
  LogFileChoice User(LogFileMode mode, const std::string& name) const {
    return LogFileChoice{true, false, mode, name};
  }
  TempDir dir;
  FakeStation fs;
};

TEST_F(CloseLogTest, SystemNamedFileNeedsMoreThanSixLines) {
  const LogFileChoice choice{true, true, LogFileMode::Append, "ignored.log"};
  WriteCloseLogFile(fs.st, choice, Lines(6));
  EXPECT_TRUE(LogFolder().empty());
  WriteCloseLogFile(fs.st, choice, Lines(7));
  ASSERT_EQ(LogFolder(), std::vector<std::string>{"ZEK_2026_12_08_10_15_02.log"});
  EXPECT_EQ(ReadLines(dir.File("Log/ZEK_2026_12_08_10_15_02.log")), Lines(7));
  EXPECT_TRUE(fs.boxes.shown.empty());
}

TEST_F(CloseLogTest, DisabledWritesNothingWhateverTheName) {
  WriteCloseLogFile(fs.st, LogFileChoice{false, true, LogFileMode::NewFile, ""}, Lines(9));
  WriteCloseLogFile(fs.st, LogFileChoice{false, false, LogFileMode::Append, "/no/such/dir/x.log"}, Lines(9));
  EXPECT_TRUE(LogFolder().empty());
  EXPECT_TRUE(fs.boxes.shown.empty());
}

TEST_F(CloseLogTest, SystemNamedFailureShowsBoxAndReturns) {
  std::filesystem::remove(dir.File("Log"));
  EXPECT_NO_THROW(WriteCloseLogFile(fs.st, LogFileChoice{true, true, LogFileMode::NewFile, ""}, Lines(7)));
  ASSERT_EQ(fs.boxes.shown.size(), 1u);
  EXPECT_EQ(fs.boxes.shown[0].text, "Write Log File error!");
}

TEST_F(CloseLogTest, NewAndOverwriteReplaceAnExistingFileWithoutLineRule) {
  for (LogFileMode mode : {LogFileMode::NewFile, LogFileMode::Overwrite}) {
    const std::string path = dir.Write("user.log", "old 1\nold 2\nold 3\n");
    WriteCloseLogFile(fs.st, User(mode, path), Lines(2));
    EXPECT_EQ(ReadLines(path), Lines(2)) << static_cast<int>(mode);
  }
}

TEST_F(CloseLogTest, AppendStartsAMissingFileWithItsHeaderAndOnlyAddsToAnExistingOne) {
  const std::string path = dir.File("append.log");
  WriteCloseLogFile(fs.st, User(LogFileMode::Append, path), Lines(2));
  std::vector<std::string> expected{"Kelpra Log File!"};
  for (const auto& line : Lines(2)) expected.push_back(line);
  EXPECT_EQ(ReadLines(path), expected);
  WriteCloseLogFile(fs.st, User(LogFileMode::Append, path), Lines(1));
  expected.push_back(Lines(1)[0]);
  EXPECT_EQ(ReadLines(path), expected);
}

TEST_F(CloseLogTest, UserNamedFailureRaisesInEveryMode) {
  for (LogFileMode mode : {LogFileMode::NewFile, LogFileMode::Overwrite, LogFileMode::Append}) {
    EXPECT_THROW(WriteCloseLogFile(fs.st, User(mode, dir.File("missing/x.log")), Lines(3)), FileError);
    EXPECT_THROW(WriteCloseLogFile(fs.st, User(mode, dir.File("Log")), Lines(3)), FileError);
  }
  EXPECT_TRUE(fs.boxes.shown.empty());
}

}  // namespace
}  // namespace zek
