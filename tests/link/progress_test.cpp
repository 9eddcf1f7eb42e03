#include "station/link/progress.h"

#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>

#include "station/data/errors.h"
#include "station/link/hex_dump.h"
#include "tests/data/temp_dir.h"
#include "tests/support/fake_views.h"

namespace zek {
namespace {

using testing::ReadLines;

struct ResultCase {
  uint8_t code;
  const char* message;
};

TEST(ResultMessage, CoversTheWholeTable) {
  const ResultCase cases[] = {
      {0, "Operation Success!"},        {6, "Operation Success!"},        {7, "No response!"},
      {16, "Chip read protected!"},     {19, "Chip read protected"},      {25, "Command CRC8 Error"},
      {31, "Chip has been locked!"},    {32, "Data error!"},              {35, "Packet checksum error!"},
      {37, "Unknow command!"},          {42, "Data packet error"},        {44, "Flash Memory Error!"},
      {49, "Data verify error!"},       {52, "Chip checksum error!"},     {54, "Chip type error!"},
      {56, "Manufacturing Code error!"}, {64, "Execute time out!"},       {96, "Interface Error!"},
      {0x41, "Operation error! Error Code = 0x41"}, {0xAB, "Operation error! Error Code = 0xAB"},
      {1, "Operation error! Error Code = 0x01"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResultMessage(c.code), c.message) << int(c.code);
}

TEST(ReportResult, LogsOnlyWhileThePortIsBusyAndBeepsOnSuccess) {
  testing::FakeStation fs;
  fs.st.PortState[2] = 22;
  ReportResult(fs.st, 6, 2);
  EXPECT_EQ(fs.beeper.beeps, 1);
  ReportResult(fs.st, 0x41, 2);
  EXPECT_EQ(fs.beeper.beeps, 1);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C3: Operation Success!",
                                                      "> 10:15:02 C3: Operation error! Error Code = 0x41"}));
  fs.memo.lines.clear();
  ReportResult(fs.st, 6, 0);  // slot 0 is idle
  ReportResult(fs.st, 32, 0);
  EXPECT_EQ(fs.beeper.beeps, 2);
  EXPECT_TRUE(fs.memo.lines.empty());
}

TEST(ReportFailure, ASuccessCodeNeverReadsAsSuccess) {
  testing::FakeStation fs;
  fs.st.PortState[4] = 26;
  ReportFailure(fs.st, 0, 4);
  ReportFailure(fs.st, 6, 4);
  ReportFailure(fs.st, 52, 4);
  EXPECT_EQ(fs.beeper.beeps, 0);
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C5: Operation error! Error Code = 0x00",
                                                      "> 10:15:02 C5: Operation error! Error Code = 0x06",
                                                      "> 10:15:02 C5: Chip checksum error!"}));
}

TEST(Progress, StartsByTimeOrByBlocks) {
  testing::FakeStation fs;
  fs.st.FlashSizeKB = 96;
  fs.st.PortBlockIndex[1] = 40;
  StartProgress(fs.st, 200, false, 1);
  EXPECT_EQ(fs.st.PortTimeout[1], 200);
  EXPECT_EQ(fs.gauges[1].progress, 20);
  EXPECT_EQ(fs.gauges[1].max, 200);
  EXPECT_EQ(fs.st.PortBlockIndex[1], 0);
  EXPECT_EQ(fs.st.PortBlockCount[1], 96);
  EXPECT_EQ(fs.st.PortBusy[1], 1);
  EXPECT_EQ(fs.gauges[1].color, kGaugeBlue);

  StartProgress(fs.st, 200, true, 4);
  EXPECT_EQ(fs.st.PortTimeout[4], 500);
  EXPECT_EQ(fs.gauges[4].progress, 1);
  EXPECT_EQ(fs.gauges[4].max, 96);
}

TEST(Progress, EndsWithAFullGaugeRedOnFailure) {
  testing::FakeStation fs;
  fs.st.FlashSizeKB = 30;
  for (bool failed : {true, false}) {
    fs.st.PortState[7] = 22;
    fs.st.TimeGauge = 1;
    StartProgress(fs.st, 0, true, 7);
    EndProgress(fs.st, failed, 7);
    EXPECT_EQ(fs.st.PortBusy[7], 0);
    EXPECT_EQ(fs.st.TimeGauge, 0);
    EXPECT_EQ(fs.st.PortState[7], 80);
    EXPECT_EQ(fs.gauges[7].progress, 30);
    EXPECT_EQ(fs.gauges[7].color, failed ? kGaugeRed : kGaugeBlue);
  }
  EXPECT_EQ(fs.pages.first_tab_shown, 2);
}

TEST(WriteHexDump, WritesWholeRowsInUpperCase) {
  std::string path = (std::filesystem::temp_directory_path() / "zek_hexdump_test.txt").string();
  std::vector<uint8_t> buffer(64);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(0xA0 + i);
  WriteHexDump(path, buffer, 0x1F);
  auto lines = ReadLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "0x000000: A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF");
  EXPECT_EQ(lines[1], "0x000010: B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF");
  WriteHexDump(path, buffer, 0x20);  // the last row is complete
  lines = ReadLines(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "0x000020: C0 C1 C2 C3 C4 C5 C6 C7 C8 C9 CA CB CC CD CE CF");
  std::filesystem::remove(path);
}

TEST(WriteHexDump, RaisesTheFileErrorWhenItCannotCreate) {
  std::vector<uint8_t> buffer(16);
  try {
    WriteHexDump("/nonexistent-folder/dump.txt", buffer, 15);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
}

}  // namespace
}  // namespace zek
