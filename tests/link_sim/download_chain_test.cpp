// The download chain against a simulated unit: what the unit stores is
// the station's image, and the unit's own runs afterwards reach the slot.
#include "tests/link_sim/sim_fixture.h"
#include "tests/support/case_names.h"

namespace zek::linksim {
namespace {

struct DownloadCase {
  const char* name;
  uint16_t flash_kb;
  uint32_t start;
  bool eep_steps;
  uint8_t ok_status;
  int blocks;
};

class Download : public SimFixture, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(Download, LeavesTheImageInTheUnitAndResetsIt) {
  const DownloadCase& c = GetParam();
  SetChip(c.flash_kb, c.start, c.eep_steps ? 512 : 0);
  fs.st.EepStepsEnabled = c.eep_steps;
  fs.st.ChipName = "BS32F030K6";
  fs.st.ObjectFileName = "/line/2/board-rev-c.hex";
  sim::SimUnit& unit = AttachWith(2, ChipKind::Blank, c.ok_status);
  StartDownload(fs.st, 2);
  link.Run();

  std::vector<int> codes = {0x53};
  codes.insert(codes.end(), c.blocks, 0x55);
  if (c.eep_steps) codes.push_back(0x5A);
  codes.push_back(0x8A);
  EXPECT_EQ(link.Codes(2), codes);
  EXPECT_EQ(link.Params(2, 0x55), BlockIndexes());
  EXPECT_EQ(Blocks(), c.blocks);
  std::vector<std::string> lines = {"> 10:15:02 Programmer 3 : Start to download data......",
                                    "> 10:15:02 C3: Download Main Memory Data ......"};
  if (c.eep_steps) lines.push_back("> 10:15:02 C3: Download EEP Data ......");
  lines.push_back("> 10:15:02 C3: Download Success!");
  EXPECT_EQ(fs.memo.lines, lines);
  EXPECT_EQ(fs.st.DownloadsDone, 1);
  ExpectEnded(2, false);

  // The unit took the scrambled image and every block as the station meant them.
  const sim::StoredDownload& stored = unit.Download();
  ASSERT_TRUE(stored.Config());
  EXPECT_TRUE(stored.Complete());
  EXPECT_TRUE(unit.Offline());
  EXPECT_EQ(Head(stored.Main(), Image().size()), Image());
  EXPECT_EQ(stored.HasEeprom(), c.eep_steps);
  if (c.eep_steps) {
    EXPECT_EQ(Head(stored.Eeprom(), 4096), Head(fs.st.EepBuffer.span(), 4096));
  }
  EXPECT_EQ(stored.Config()->chip_name, "BS32F030K6");
  EXPECT_EQ(stored.Config()->object_file_name, "/line/2/board-rev-c.hex");
  const sim::UnitSettings& s = stored.Config()->settings;
  EXPECT_EQ(s.flash_kb, c.flash_kb);
  EXPECT_EQ(s.chip_start, c.start);
  EXPECT_EQ(s.main_acc, fs.st.MainAcc16);
  EXPECT_EQ(s.main_crc, fs.st.MainCrc16);
  EXPECT_EQ(unit.DroppedFrames(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Download,
                         ::testing::Values(DownloadCase{"Kb96", 96, 0, false, 6, 24},
                                           DownloadCase{"Kb30", 30, 0, false, 6, 8},
                                           DownloadCase{"Kb96WithEeprom", 96, 0, true, 6, 24},
                                           DownloadCase{"Kb30WithEepromAndPlainZeroStatus", 30, 0, true, 0, 8},
                                           DownloadCase{"ImageAboveAddressZero", 64, 0x8000, false, 6, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimFixture, ASecondDownloadReplacesTheFirst) {
  SetChip(16, 0, 0);
  sim::SimUnit& unit = AttachWith(0, ChipKind::Blank);
  StartDownload(fs.st, 0);
  link.Run();
  for (uint32_t i = 0; i < 16 * 1024; ++i) fs.st.MainBuffer[i] = static_cast<uint8_t>(~i);
  Resum();
  StartDownload(fs.st, 0);
  link.Run();
  EXPECT_EQ(Head(unit.Download().Main(), Image().size()), Image());
  EXPECT_EQ(fs.st.DownloadsDone, 1);  // one unit, however often it took a download
  // Both configuration words came from the generator, so they differ.
  std::vector<Bytes> sent = link.Commands(0);
  EXPECT_NE(sent.front()[1] | sent.front()[2] << 8, sent[1 + Blocks() + 1][1] | sent[1 + Blocks() + 1][2] << 8);
}

// The unit refuses (42) a configuration image, block or command that a
// station building them right never sends: other classes and sizes than
// the fixture's must pass as well, through a download, the automatic
// sequence and a read-back.
struct ChipCase {
  uint8_t chip_class;
  uint16_t flash_kb;
  uint16_t eep_size;
};

class EveryChip : public SimFixture, public ::testing::WithParamInterface<ChipCase> {};

TEST_P(EveryChip, NothingTheStationSendsIsRefused) {
  const ChipCase& c = GetParam();
  fs.st.ChipClassCode = c.chip_class;
  fs.st.ChipIndex = 3;
  fs.st.OptionStartAddress = 0x201E0;
  SetChip(c.flash_kb, 0, c.eep_size);
  fs.st.EepStepsEnabled = c.eep_size > 0;
  sim::SimUnit& unit = AttachWith(5, ChipKind::Used);
  StartDownload(fs.st, 5);
  link.Run();
  EXPECT_EQ(SlotLines(5).back(), "Download Success!");
  EXPECT_TRUE(unit.Download().Complete());
  StartAuto(5);
  link.Run();
  EXPECT_EQ(SlotLines(5).back(), VerifiedLine());
  StartReadMain(5);
  link.Run();
  EXPECT_EQ(SlotLines(5).back(), "Data has been read out!");
  EXPECT_EQ(Head(fs.st.ReadMainBuffer.span(), Image().size()), Image());
  ExpectEnded(5, false);
}

INSTANTIATE_TEST_SUITE_P(Classes, EveryChip,
                         ::testing::Values(ChipCase{0x00, 96, 0}, ChipCase{0x10, 64, 0}, ChipCase{0x12, 30, 512},
                                           ChipCase{0x40, 4, 256}, ChipCase{0x82, 128, 0},
                                           ChipCase{0x90, 62, 0}),
                         [](const auto& info) { return "Class" + ::zek::testing::Hex(info.param.chip_class); });

// After a download the unit programs chips on its own; its reports reach
// the slot's info packet handler and are counted there.
class StandaloneRuns : public SimFixture {
 protected:
  StandaloneRuns() {
    SetChip(8, 0, 0);
    for (int port : {1, 4}) {
      AttachWith(port, ChipKind::Blank);
      StartDownload(fs.st, port);
    }
    link.Run();
    fs.memo.lines.clear();
  }
  // Queues every report of one run behind whatever the slot has pending.
  void QueueRun(int port, uint8_t ng_status) {
    sim::SimUnit& unit = link.Unit(port);
    ASSERT_TRUE(unit.StartStandaloneRun(ng_status));
    while (unit.EmitNextReport()) {
    }
    Bytes reports = unit.TakeOutput();
    Bytes& pending = link.Port(port).Pending();
    pending.insert(pending.end(), reports.begin(), reports.end());
  }
};

TEST_F(StandaloneRuns, GoodAndFailedChipsAreCountedOnTheirSlot) {
  QueueRun(1, 0);
  QueueRun(1, 0x4A);
  link.Run();
  EXPECT_EQ(fs.st.PortOKCount[1], 1);
  EXPECT_EQ(fs.st.PortNGCount[1], 1);
  EXPECT_EQ(fs.st.PortOKCount[4], 0);
  EXPECT_EQ(fs.st.TotalOKCount, 1);
  EXPECT_EQ(fs.st.TotalNGCount, 1);
  std::vector<std::string> lines = SlotLines(1);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "Initial Programming Interface ....");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Programming Completed : Successed !"), lines.end());
  EXPECT_EQ(lines[lines.size() - 2], "Programming Completed : Failed : Error=0x4A!");
  EXPECT_EQ(lines.back(), "OK=1, NG=1.");
  EXPECT_EQ(fs.memo.lines.back(), "> 10:15:02 Total OK Number is 1, NG is 1.");
  EXPECT_EQ(fs.gauges[1].color, kGaugeRed);
  EXPECT_EQ(fs.st.PortState[1], kStateIdle);
}

TEST_F(StandaloneRuns, ReportsDuringAnOperationLeaveItsStepAlone) {
  StartBlankCheck(fs.st, 4);
  Bytes reply = link.Port(4).Pending();
  link.Port(4).Pending().clear();
  QueueRun(4, 0);  // the run's reports arrive before the blank check's reply
  link.Run();
  EXPECT_EQ(fs.st.PortState[4], kStateBlankCheck);
  EXPECT_EQ(fs.st.PortBusy[4], 1);
  EXPECT_EQ(fs.st.PortOKCount[4], 1);
  link.Port(4).Pending() = reply;
  link.Run();
  EXPECT_EQ(SlotLines(4).back(), "Current Chip is blank!");
  ExpectEnded(4, false);
}

}  // namespace
}  // namespace zek::linksim
