// Information and option reads against a simulated unit: the display of
// each chip class shows the unit's chip data row for row.
#include "tests/link_sim/sim_fixture.h"

namespace zek::linksim {
namespace {

// " %02X" items as the displays print them: two digits and a blank each.
std::string Items(std::span<const uint8_t> bytes, size_t at, size_t n) {
  std::string s;
  char item[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(item, sizeof item, "%02X ", bytes[at + i]);
    s += item;
  }
  return s;
}

std::string Label(const char* format, uint32_t value) {
  char text[40];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

class ChipReads : public SimFixture {
 protected:
  void StartRead(uint8_t state, uint8_t sub, int port) {
    fs.st.PortState[port] = state;
    fs.st.TimeGauge = 1;
    StartProgress(fs.st, 200, false, port);
    SendSettingsOnly(fs.st, 0x93, sub, port);
  }
  const sim::SimChip& ReadInfo(int port, uint8_t chip_class, bool locked = false) {
    fs.st.ChipClassCode = chip_class;
    sim::SimUnit& unit = AttachWith(port, ChipKind::Blank);
    if (locked) unit.Chip().Protect();
    StartRead(kStateReadChipInfo, 0x33, port);
    link.Run();
    ExpectEnded(port, false);
    return unit.Chip();
  }
};

struct UidCase {
  const char* name;
  bool locked;
  uint8_t sec_level;
};

class UidRead : public ChipReads, public ::testing::WithParamInterface<UidCase> {};

TEST_P(UidRead, ShowsTheUidRowsMasksAndSecurityLevel) {
  const sim::SimChip& chip = ReadInfo(4, 0x00, GetParam().locked);
  std::span<const uint8_t> info = chip.Info();
  std::vector<std::string> lines = {"  Read Chip 1 UID : " + Items(chip.Uid(), 0, 12)};
  for (uint32_t r = 0; r < 8; ++r)
    lines.push_back("  0x0010" + Label("%04X: ", 0x400 + 16 * r) + Items(info, 16 * r, 16));
  lines.push_back("  RMASK Is : " + Items(info, 0x800, 16));
  lines.push_back("  WMASK Is : " + Items(info, 0x820, 16));
  char last[40];
  std::snprintf(last, sizeof last, "  IMAKS=0x%02X, SECLEVEL=0x%02X.", info[0x840], GetParam().sec_level);
  lines.push_back(last);
  lines.push_back("");
  EXPECT_EQ(fs.memo.lines, lines);
}

INSTANTIATE_TEST_SUITE_P(Chips, UidRead,
                         ::testing::Values(UidCase{"Open", false, 0}, UidCase{"ReadProtected", true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChipReads, FlashRegistersAndInformationBlockOfABs32Part) {
  fs.st.InfoStartAddress = 0x20200;
  const sim::SimChip& chip = ReadInfo(0, 0x10);
  std::vector<std::string> lines;
  for (uint32_t r = 0; r < 2; ++r)
    lines.push_back(Label("  %08X: ", 0x40022000 + 16 * r) + Items(chip.Registers(), 16 * r, 16));
  lines.push_back("");
  for (uint32_t r = 0; r < 32; ++r)
    lines.push_back(Label("  %08X: ", 0x20200 + 32 + 16 * r) + Items(chip.Info(), 16 * r, 16));
  EXPECT_EQ(fs.memo.lines, lines);
  EXPECT_EQ(fs.memo.lines[3].substr(0, 12), "  00020220: ");
}

struct InfoDataCase {
  const char* name;
  uint16_t info_size;
  size_t rows;
};

class InfoData : public ChipReads, public ::testing::WithParamInterface<InfoDataCase> {};

TEST_P(InfoData, ShowsWholeRowsOfTheInformationBlock) {
  fs.st.InfoSize = GetParam().info_size;
  const sim::SimChip& chip = ReadInfo(2, 0x80);
  std::vector<std::string> lines = {"> Read Chip 3 Infomation Data : "};
  for (uint32_t r = 0; r < GetParam().rows; ++r)
    lines.push_back(Label("  0x%02X0:", r) + Items(chip.Info(), 16 * r, 16));
  EXPECT_EQ(fs.memo.lines, lines);
}

INSTANTIATE_TEST_SUITE_P(Sizes, InfoData,
                         ::testing::Values(InfoDataCase{"Bytes512", 512, 32}, InfoDataCase{"Bytes24", 24, 1},
                                           InfoDataCase{"Bytes8", 8, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChipReads, OptionReadShowsTheChipsOptionRange) {
  fs.st.ChipClassCode = 0x12;
  fs.st.OptionStartAddress = 0x201E0;
  sim::SimUnit& unit = AttachWith(6, ChipKind::Blank);
  unit.Chip().WriteOptions(fs.st.OptionBuffer.span());
  StartRead(kStateReadChipOption, 0x35, 6);
  link.Run();
  std::span<const uint8_t> options = unit.Chip().Options();
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"", "> Read Chip 7 Option Byte data as below : ",
                                                     "   0201E0: " + Items(options, 480, 16),
                                                     "   0201F0: " + Items(options, 496, 16)}));
  ExpectEnded(6, false);
}

struct FailedReadCase {
  const char* name;
  uint8_t state;
  uint8_t sub;
  sim::Step step;
  uint8_t chip_class;
};

class FailedRead : public ChipReads, public ::testing::WithParamInterface<FailedReadCase> {};

TEST_P(FailedRead, LogsTheResultAndNoData) {
  const FailedReadCase& c = GetParam();
  fs.st.ChipClassCode = c.chip_class;
  fs.st.InfoSize = 512;
  sim::Fault fault;
  fault.step = c.step;
  fault.value = 54;
  AttachWith(3, ChipKind::Blank).Faults().Add(fault);
  StartRead(c.state, c.sub, 3);
  link.Run();
  EXPECT_EQ(fs.memo.lines, (std::vector<std::string>{"> 10:15:02 C4: Chip type error!"}));
  ExpectEnded(3, true);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, FailedRead,
    ::testing::Values(FailedReadCase{"Uid", kStateReadChipInfo, 0x33, sim::Step::ReadInfo, 0x00},
                      FailedReadCase{"Bs32Info", kStateReadChipInfo, 0x33, sim::Step::ReadInfo, 0x10},
                      FailedReadCase{"InfoData", kStateReadChipInfo, 0x33, sim::Step::ReadInfo, 0x40},
                      FailedReadCase{"Option", kStateReadChipOption, 0x35, sim::Step::ReadOption, 0x80}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::linksim
