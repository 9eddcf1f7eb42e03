#include "station/link/chip_info_display.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/fake_views.h"
#include "tests/support/case_names.h"

namespace zek {
namespace {

// Data byte k holds (k + k / 256) & 0xFF, so rows taken from the wrong
// offset show different bytes.
uint8_t Pattern(size_t k) { return static_cast<uint8_t>(k + (k >> 8)); }

// Sixteen (or `count`) byte items "%02X " from data byte `first`, built
// with printf as an independent oracle.
std::string Items(size_t first, size_t count = 16) {
  std::string s;
  char item[4];
  for (size_t k = first; k < first + count; ++k) {
    std::snprintf(item, sizeof item, "%02X ", Pattern(k));
    s += item;
  }
  return s;
}

struct DisplayFixture : ::testing::Test {
  void SetUp() override {
    auto& packet = fs.st.PortPacketBuf[kPort];
    for (size_t i = 8; i < packet.size(); ++i) packet[i] = Pattern(i - 8);
    fs.st.PortPacketLen[kPort] = static_cast<uint16_t>(packet.size());
    fs.st.PortState[kPort] = 37;
    fs.st.PortBusy[kPort] = 1;
    fs.gauges[kPort].max = 200;
    fs.gauges[kPort].progress = 30;
  }
  void ExpectEndedWell() {
    EXPECT_EQ(fs.st.PortState[kPort], kStateIdle);
    EXPECT_EQ(fs.st.PortBusy[kPort], 0);
    EXPECT_EQ(fs.gauges[kPort].progress, 200);
    EXPECT_EQ(fs.gauges[kPort].color, kGaugeBlue);
    EXPECT_EQ(fs.pages.first_tab_shown, 1);
    EXPECT_EQ(fs.beeper.beeps, 0);
  }
  static constexpr int kPort = 2;
  testing::FakeStation fs;
};

TEST_F(DisplayFixture, InfoDataOfAClass40ChipOnSlot2) {
  fs.st.ChipClassCode = 0x40;
  fs.st.InfoSize = 512;
  ShowChipInfoData(fs.st, fs.st.PortPacketBuf[kPort].span(), 0, kPort);
  ExpectEndedWell();
  const auto& lines = fs.memo.lines;
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines[0], "> Read Chip 3 Infomation Data : ");
  EXPECT_EQ(lines[1], "  0x000:00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
  EXPECT_EQ(lines[17], "  0x100:01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 ");
  EXPECT_EQ(lines[32], "  0x1F0:F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF 00 ");
  for (size_t r = 0; r < 32; ++r) {
    char label[16];
    std::snprintf(label, sizeof label, "  0x%03zX:", r * 16);
    EXPECT_EQ(lines[1 + r], label + Items(16 * r)) << r;
  }
}

struct RowCountCase {
  uint16_t info_size;
  size_t packet_size;  // of the area handed in
  size_t rows;
};

class InfoDataRows : public DisplayFixture, public ::testing::WithParamInterface<RowCountCase> {};

TEST_P(InfoDataRows, ShowsWholeRowsThatTheAreaHolds) {
  const RowCountCase& c = GetParam();
  fs.st.InfoSize = c.info_size;
  std::span<const uint8_t> area = fs.st.PortPacketBuf[kPort].span().first(c.packet_size);
  ShowChipInfoData(fs.st, area, 6, kPort);
  ASSERT_EQ(fs.memo.lines.size(), 1 + c.rows);
  EXPECT_EQ(fs.memo.lines[0], "> Read Chip 3 Infomation Data : ");
  if (c.rows > 0) {
    // A label grows a digit from row 0x100 on.
    EXPECT_EQ(fs.memo.lines.back().size(), 8 + 3 * 16 + (c.rows > 256 ? 1 : 0));
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, InfoDataRows,
                         ::testing::Values(RowCountCase{24, 8192, 1}, RowCountCase{15, 8192, 0},
                                           RowCountCase{0, 8192, 0}, RowCountCase{16, 8192, 1},
                                           RowCountCase{4096, 8192, 256},
                                           // beyond the area: only what it holds
                                           RowCountCase{0xFFFF, 8192, 511},
                                           RowCountCase{0xFFFF, kPacketBufSize, (kPacketBufSize - 8) / 16},
                                           RowCountCase{512, 100, 5},
                                           RowCountCase{512, 7, 0}),
                         [](const auto& info) { return "Info" + std::to_string(info.param.info_size) + "_Area" + std::to_string(info.param.packet_size); });

TEST_F(DisplayFixture, UidOfAClass00ChipSaysChip1OnAnySlot) {
  fs.st.PortState[4] = 37;
  auto& packet = fs.st.PortPacketBuf[4];
  for (size_t i = 8; i < packet.size(); ++i) packet[i] = Pattern(i - 8);
  fs.st.PortPacketLen[4] = static_cast<uint16_t>(packet.size());
  ShowChipUID(fs.st, 0, 4);
  const std::vector<std::string> expected = {
      "  Read Chip 1 UID : 00 01 02 03 04 05 06 07 08 09 0A 0B ",
      "  0x00100400: 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 ",
      "  0x00100410: " + Items(0x410),
      "  0x00100420: " + Items(0x420),
      "  0x00100430: " + Items(0x430),
      "  0x00100440: " + Items(0x440),
      "  0x00100450: " + Items(0x450),
      "  0x00100460: " + Items(0x460),
      "  0x00100470: 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F 80 81 82 83 ",
      "  RMASK Is : 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 ",
      "  WMASK Is : 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33 34 35 36 37 ",
      "  IMAKS=0x48, SECLEVEL=0x49.",
      "",
  };
  EXPECT_EQ(fs.memo.lines, expected);
  EXPECT_EQ(fs.st.PortState[4], kStateIdle);
}

struct InfoLabelCase {
  uint32_t info_start;
  const char* first_label;  // of the 32 rows after the empty line
  const char* last_label;
};

class ChipInfoLabels : public DisplayFixture, public ::testing::WithParamInterface<InfoLabelCase> {};

TEST_P(ChipInfoLabels, FirstTwoRowsAreFixedTheRestFollowTheInfoBlock) {
  fs.st.InfoStartAddress = GetParam().info_start;
  ShowChipInfo(fs.st, 6, kPort);
  ExpectEndedWell();
  const auto& lines = fs.memo.lines;
  ASSERT_EQ(lines.size(), 35u);
  EXPECT_EQ(lines[0], "  40022000: " + Items(0));
  EXPECT_EQ(lines[1], "  40022010: " + Items(16));
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], std::string("  ") + GetParam().first_label + ": " + Items(32));
  EXPECT_EQ(lines[34], std::string("  ") + GetParam().last_label + ": " + Items(32 + 16 * 31));
}

INSTANTIATE_TEST_SUITE_P(Starts, ChipInfoLabels,
                         ::testing::Values(InfoLabelCase{0x20200, "00020220", "00020410"},
                                           InfoLabelCase{0, "00000020", "00000210"},
                                           InfoLabelCase{0xFFFFFFF0u, "00000010", "00000200"}),
                         [](const auto& info) { return "Start" + ::zek::testing::Hex(info.param.info_start); });

struct OptionLabelCase {
  uint32_t option_start;
  const char* first;
  const char* second;
};

class OptionLabels : public DisplayFixture, public ::testing::WithParamInterface<OptionLabelCase> {};

TEST_P(OptionLabels, TwoRowsAfterTheHeader) {
  fs.st.PortState[kPort] = 39;
  fs.st.OptionStartAddress = GetParam().option_start;
  ShowOptionBytes(fs.st, 0, kPort);
  ExpectEndedWell();
  const std::vector<std::string> expected = {
      "",
      "> Read Chip 3 Option Byte data as below : ",
      std::string("   ") + GetParam().first + ": " + Items(0),
      std::string("   ") + GetParam().second + ": " + Items(16),
  };
  EXPECT_EQ(fs.memo.lines, expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, OptionLabels,
                         ::testing::Values(OptionLabelCase{0x201E0, "0201E0", "0201F0"},
                                           OptionLabelCase{0xFFFFFFFFu, "FFFFFFFF", "00000F"}),
                         [](const auto& info) { return "Start" + ::zek::testing::Hex(info.param.option_start); });

using Display = std::function<void(StationState&, uint8_t, int)>;

struct FailureCase {
  const char* name;
  Display show;
};

const FailureCase kDisplays[] = {
    {"uid", [](StationState& st, uint8_t s, int p) { ShowChipUID(st, s, p); }},
    {"info", [](StationState& st, uint8_t s, int p) { ShowChipInfo(st, s, p); }},
    {"info_data",
     [](StationState& st, uint8_t s, int p) { ShowChipInfoData(st, st.PortPacketBuf[p].span(), s, p); }},
    {"option", [](StationState& st, uint8_t s, int p) { ShowOptionBytes(st, s, p); }},
};

TEST_F(DisplayFixture, AFailureStatusLogsItsTextAndShowsNoData) {
  struct StatusText {
    uint8_t status;
    const char* line;
  };
  const StatusText statuses[] = {{54, "> 10:15:02 C3: Chip type error!"},
                                 {35, "> 10:15:02 C3: Packet checksum error!"},
                                 {1, "> 10:15:02 C3: Operation error! Error Code = 0x01"}};
  fs.st.InfoSize = 512;
  for (const FailureCase& display : kDisplays) {
    for (const StatusText& s : statuses) {
      fs.memo.lines.clear();
      fs.st.PortState[kPort] = 37;
      fs.st.PortBusy[kPort] = 1;
      fs.gauges[kPort].color = kGaugeBlue;
      display.show(fs.st, s.status, kPort);
      EXPECT_EQ(fs.memo.lines, std::vector<std::string>{s.line}) << display.name;
      EXPECT_EQ(fs.st.PortState[kPort], kStateIdle) << display.name;
      EXPECT_EQ(fs.st.PortBusy[kPort], 0) << display.name;
      EXPECT_EQ(fs.gauges[kPort].color, kGaugeRed) << display.name;
      EXPECT_EQ(fs.gauges[kPort].progress, fs.gauges[kPort].max) << display.name;
    }
  }
  EXPECT_EQ(fs.beeper.beeps, 0);
}

TEST_F(DisplayFixture, StatusSixIsASuccessLikeZero) {
  fs.st.InfoSize = 512;
  for (const FailureCase& display : kDisplays) {
    std::vector<std::vector<std::string>> shown;
    for (uint8_t status : {0, 6}) {
      fs.memo.lines.clear();
      fs.st.PortState[kPort] = 37;
      display.show(fs.st, status, kPort);
      EXPECT_EQ(fs.gauges[kPort].color, kGaugeBlue) << display.name;
      EXPECT_EQ(fs.st.PortState[kPort], kStateIdle) << display.name;
      shown.push_back(fs.memo.lines);
    }
    EXPECT_FALSE(shown[0].empty()) << display.name;
    EXPECT_EQ(shown[0], shown[1]) << display.name;
  }
  EXPECT_EQ(fs.beeper.beeps, 0);
}

struct ReplyLengthCase {
  const char* name;
  Display show;
  size_t data_bytes;  // the data bytes its rows print
};
void PrintTo(const ReplyLengthCase& c, std::ostream* os) { *os << c.name; }

class ReplyLengths : public DisplayFixture, public ::testing::WithParamInterface<ReplyLengthCase> {
 protected:
  // Shows a reply of `data` data bytes with `status`; the lines it added.
  std::vector<std::string> ShowReply(size_t data, uint8_t status) {
    fs.memo.lines.clear();
    fs.st.PortState[kPort] = 37;
    fs.st.PortBusy[kPort] = 1;
    fs.st.PortPacketLen[kPort] = static_cast<uint16_t>(8 + data + 2);
    GetParam().show(fs.st, status, kPort);
    return fs.memo.lines;
  }
};

// Units may send shorter replies than the displays print: such a success
// is shown as one, and every byte the reply does not carry (its check
// included) reads 00, never what the packet area held before.
TEST_P(ReplyLengths, AShortSuccessShowsWhatItCarriesAndZerosForTheRest) {
  const size_t n = GetParam().data_bytes;
  fs.st.InfoSize = 512;
  const std::vector<uint8_t> stale(fs.st.PortPacketBuf[kPort].begin(), fs.st.PortPacketBuf[kPort].end());
  for (size_t carried : {size_t{0}, size_t{1}, n / 2 + 3, n - 1}) {
    for (uint8_t status : {0, 6}) {
      std::copy(stale.begin(), stale.end(), fs.st.PortPacketBuf[kPort].begin());
      std::vector<std::string> shown = ShowReply(carried, status);
      EXPECT_EQ(fs.gauges[kPort].color, kGaugeBlue) << carried;
      EXPECT_EQ(fs.st.PortState[kPort], kStateIdle) << carried;
      EXPECT_EQ(fs.st.PortBusy[kPort], 0) << carried;
      // The same display of a whole reply whose bytes past `carried` are 0.
      std::fill(fs.st.PortPacketBuf[kPort].begin() + 8 + carried, fs.st.PortPacketBuf[kPort].end(), 0);
      EXPECT_EQ(shown, ShowReply(n, status)) << carried << " data bytes, status " << int{status};
    }
  }
  // A failure keeps its own text.
  EXPECT_EQ(ShowReply(1, 54), std::vector<std::string>{"> 10:15:02 C3: Chip type error!"});
  EXPECT_EQ(fs.beeper.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Displays, ReplyLengths,
                         ::testing::Values(ReplyLengthCase{"uid", kDisplays[0].show, 0x842},
                                           ReplyLengthCase{"info", kDisplays[1].show, 544},
                                           ReplyLengthCase{"info_data", kDisplays[2].show, 512},
                                           ReplyLengthCase{"option", kDisplays[3].show, 32}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DisplayFixture, AStatusReplyShowsItsStatusByteAndZeros) {
  fs.st.PortState[kPort] = 39;
  fs.st.PortPacketBuf[kPort][8] = 6;
  fs.st.PortPacketLen[kPort] = 8 + 2 + 2;  // status, 0, check
  fs.st.PortPacketBuf[kPort][9] = 0;
  fs.st.OptionStartAddress = 0x201E0;
  ShowOptionBytes(fs.st, 6, kPort);
  const std::vector<std::string> expected = {
      "",
      "> Read Chip 3 Option Byte data as below : ",
      "   0201E0: 06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ",
      "   0201F0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ",
  };
  EXPECT_EQ(fs.memo.lines, expected);
  ExpectEndedWell();
}

TEST_F(DisplayFixture, InfoDataWithoutWholeRowsNeedsNoData) {
  fs.st.InfoSize = 15;
  fs.st.PortPacketLen[kPort] = 8 + 2;
  ShowChipInfoData(fs.st, fs.st.PortPacketBuf[kPort].span(), 0, kPort);
  EXPECT_EQ(fs.memo.lines, std::vector<std::string>{"> Read Chip 3 Infomation Data : "});
}

}  // namespace
}  // namespace zek
