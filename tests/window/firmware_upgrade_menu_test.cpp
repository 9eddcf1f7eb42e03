// The firmware upgrade from the menu, through the window's receive events:
// it goes to the units that identified themselves, whichever slots they
// sit in, and never into a unit's running operation.

#include <QAction>
#include <QToolButton>

#include "station/link/operation_states.h"
#include "station/link/unit_discovery.h"
#include "tests/support/firmware_fixture.h"
#include "tests/window/station_units_fixture.h"

namespace zek::testing {
namespace {

constexpr uint8_t kBlockCode = 0xB7;
constexpr uint8_t kFinishCode = 0xBD;
constexpr uint8_t kBlockWritten = 6;

class UpgradeMenu : public StationUnitsTest {
 protected:
  // A two-block firmware file beside the program, loaded at start-up;
  // `listed` ports open, none identified yet.
  void StartListed(int listed) {
    FirmwareRecipe recipe;
    recipe.image = std::vector<uint8_t>(3000, 0x5A);
    recipe.end_address = 0x17FF;
    WriteBytes(dir.File("DKxLumZEK.FWR"), BuildFirmwareFile(recipe));
    StartWithUnits({}, listed);
    ASSERT_EQ(st().FirmwareOK, 1);
    boxes.shown.clear();
  }
  void Identify(std::initializer_list<int> units) {
    for (int slot : units) ReceiveOn(slot, IdentityReply(std::string(kFullIdentity) + " V2.04"));
    MarkMemo();
  }
  // Each upgrading unit writes every block it is sent.
  void WriteEveryBlock() {
    for (int round = 0; round < 4; ++round) {
      for (int slot = 0; slot < kPortSlots; ++slot) {
        if (st().PortUpgrading[slot] != 0) ReceiveOn(slot, StatusReply(kBlockCode, kBlockWritten));
      }
    }
  }
};

TEST_F(UpgradeMenu, GoesToExactlyTheIdentifiedUnits) {
  StartListed(4);
  Identify({0, 2, 3});  // unit 2 stays silent
  ASSERT_EQ(st().DevicesFound, 3);
  form().FirmWareGradeX->trigger();
  WriteEveryBlock();

  const std::vector<int> upgraded{kBlockCode, kBlockCode, kFinishCode};
  EXPECT_EQ(Codes(0), upgraded);
  EXPECT_TRUE(Codes(1).empty());
  EXPECT_EQ(Codes(2), upgraded);
  EXPECT_EQ(Codes(3), upgraded);
  for (int slot = 4; slot < kPortSlots; ++slot) EXPECT_TRUE(Codes(slot).empty()) << slot;
  EXPECT_EQ(NewLines(), (std::vector<std::string>{
                            "> 10:15:02 Start to Upgrade Programmer 1s Firmware......",
                            "> 10:15:02 Start to Upgrade Programmer 3s Firmware......",
                            "> 10:15:02 Start to Upgrade Programmer 4s Firmware......",
                            "> 10:15:02 Programmer 1s Firmware Fpgrade Completed!",
                            "> 10:15:02 Programmer 3s Firmware Fpgrade Completed!",
                            "> 10:15:02 Programmer 4s Firmware Fpgrade Completed!",
                        }));
  EXPECT_TRUE(boxes.shown.empty());
}

// A unit that hung up after it was found is no longer sent anything.
TEST_F(UpgradeMenu, SkipsAUnitThatHungUp) {
  StartListed(3);
  Identify({0, 1, 2});
  form().LineCommRequestHangup(1);
  form().FirmWareGradeX->trigger();
  EXPECT_EQ(Codes(0), std::vector<int>{kBlockCode});
  EXPECT_TRUE(Codes(1).empty());
  EXPECT_EQ(Codes(2), std::vector<int>{kBlockCode});
  // Nothing waits for its reply, so no time-out is reported for it.
  EXPECT_EQ(st().PortUpgrading[1], 0);
  EXPECT_EQ(st().PortBusy[1], 0);
}

TEST_F(UpgradeMenu, IsRefusedWithTheBusyLineDuringAProgram) {
  StartListed(3);
  Identify({0, 2});
  TakeChipAndFile();
  form().SpdBtnProg->click();
  ASSERT_EQ(Codes(0), std::vector<int>{0x95});
  ASSERT_EQ(Codes(2), std::vector<int>{0x95});
  // Unit 1 ends its Program while unit 3 is still on its first block.
  for (int reply = 0; reply < 100 && st().PortBusy[0] != 0; ++reply) ReceiveOn(0, StatusReply(0x95, 0));
  MarkMemo();
  const std::vector<int> unit1 = Codes(0);

  form().FirmWareGradeX->trigger();
  EXPECT_EQ(NewLines(), std::vector<std::string>{"> 10:15:02 Programmer 3 is busy, please wait!"});
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Codes(0), unit1);
  EXPECT_EQ(Codes(2), std::vector<int>{0x95});
  EXPECT_EQ(st().PortState[2], kStateProgram);
  EXPECT_EQ(st().PortUpgrading[0] + st().PortUpgrading[2], 0);
}

}  // namespace
}  // namespace zek::testing
