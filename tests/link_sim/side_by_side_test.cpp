// Several slots at once, each with its own simulated unit, every slot at
// its own point of its own chain.
#include "tests/link_sim/sim_fixture.h"

namespace zek::linksim {
namespace {

class SideBySide : public SimFixture {
 protected:
  // Position in the timeline of the slot's command with this code and parameter.
  size_t WhenSent(int port, uint8_t code, uint16_t parameter) const {
    const auto& timeline = link.Timeline();
    for (size_t i = 0; i < timeline.size(); ++i)
      if (timeline[i].port == port && timeline[i].code == code && timeline[i].parameter == parameter) return i;
    ADD_FAILURE() << "C" << port + 1 << " never sent " << int(code) << "/" << parameter;
    return timeline.size();
  }
};

// C3 programs blocks 0, 4, 8, ... while C1 is further on, and other slots
// run other chains on their own units meanwhile.
TEST_F(SideBySide, EverySlotRunsItsOwnChainToTheEnd) {
  SetChip(96, 0, 0);
  sim::SimUnit& c1 = AttachWith(0, ChipKind::Blank);
  sim::SimUnit& c3 = AttachWith(2, ChipKind::Blank);
  sim::SimUnit& c5 = AttachWith(4, ChipKind::Blank);
  sim::SimUnit& c6 = AttachWith(5, ChipKind::Programmed);
  sim::SimUnit& c7 = AttachWith(6, ChipKind::Used);
  AttachWith(7, ChipKind::Programmed);
  sim::SimUnit& c10 = AttachWith(9, ChipKind::Protected);

  StartProgram(fs.st, 0);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(link.AnswerOne(0));
  EXPECT_EQ(fs.st.PortBlockIndex[0], 20);
  StartProgram(fs.st, 2);
  StartAuto(6);
  StartAuto(9);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(link.AnswerOne(0));
  StartDownload(fs.st, 4);  // C1 at block 32, C3 at 0
  StartWriteOption(fs.st, 5);
  StartVerifyMain(fs.st, 7);
  link.Run();

  EXPECT_EQ(link.Params(0, 0x95), BlockIndexes());
  EXPECT_EQ(link.Params(2, 0x95), BlockIndexes());
  EXPECT_EQ(link.Params(4, 0x55), BlockIndexes());
  // C3's first block left after C1's block 20 and before C1's last.
  EXPECT_GT(WhenSent(2, 0x95, 0), WhenSent(0, 0x95, 20));
  EXPECT_LT(WhenSent(2, 0x95, 0), WhenSent(0, 0x95, 92));
  EXPECT_LT(WhenSent(2, 0x95, 4), WhenSent(0, 0x95, 92));

  EXPECT_EQ(SlotLines(0), (std::vector<std::string>{kStartedProgramming, "Programming Success!"}));
  EXPECT_EQ(SlotLines(2), (std::vector<std::string>{kStartedProgramming, "Programming Success!"}));
  EXPECT_EQ(SlotLines(4), (std::vector<std::string>{"Download Main Memory Data ......", "Download Success!"}));
  EXPECT_EQ(SlotLines(5),
            (std::vector<std::string>{"Write Chip Option Data......", "Chip Protected data write success!"}));
  EXPECT_EQ(SlotLines(6), AutoLines(ChipKind::Used, false));
  EXPECT_EQ(SlotLines(7), (std::vector<std::string>{"Do Chip data verification......", VerifiedLine()}));
  EXPECT_EQ(SlotLines(9), AutoLines(ChipKind::Protected, false));
  for (int p : {0, 2, 4, 5, 6, 7, 9}) ExpectEnded(p, false);

  for (sim::SimUnit* unit : {&c1, &c3, &c7, &c10}) EXPECT_EQ(Head(unit->Chip().Flash(), Image().size()), Image());
  EXPECT_TRUE(c5.Download().Complete());
  EXPECT_TRUE(c5.Offline());
  EXPECT_EQ(Head(c5.Download().Main(), Image().size()), Image());
  EXPECT_EQ(Head(c6.Chip().Options(), kOptionBufferSize), Head(fs.st.OptionBuffer.span(), kOptionBufferSize));
  EXPECT_EQ(fs.st.DownloadsDone, 1);
  EXPECT_EQ(fs.st.OnLineCounter, 2);  // C7 and C10; C8's verify was a command of its own
}

// Ten units downloading at once, started one after another while the
// earlier ones are already under way: each stores the whole image.
TEST_F(SideBySide, TenDownloadsOfThirtyKilobytes) {
  fs.st.EepStepsEnabled = 1;
  SetChip(30, 0, 256);
  for (int p = 0; p < kPortSlots; ++p) {
    AttachWith(p, ChipKind::Blank);
    StartDownload(fs.st, p);
    for (int q = 0; q < p; ++q) link.AnswerOne(q);
  }
  link.Run();
  for (int p = 0; p < kPortSlots; ++p) {
    EXPECT_EQ(link.Params(p, 0x55), BlockIndexes()) << "C" << p + 1;
    EXPECT_EQ(link.Codes(p).back(), 0x8A) << "C" << p + 1;
    EXPECT_TRUE(link.Unit(p).Download().Complete()) << "C" << p + 1;
    EXPECT_EQ(Head(link.Unit(p).Download().Eeprom(), 256), EepImage()) << "C" << p + 1;
    ExpectEnded(p, false);
  }
  EXPECT_EQ(BlockIndexes().size(), 8u);
  EXPECT_EQ(fs.st.DownloadsDone, kPortSlots);
  // C1 had sent its last block before C10 sent its first.
  const auto& timeline = link.Timeline();
  EXPECT_LT(WhenSent(0, 0x55, 28), WhenSent(9, 0x55, 0));
  EXPECT_EQ(timeline.size(), kPortSlots * (1u + 8 + 1 + 1));
}

}  // namespace
}  // namespace zek::linksim
