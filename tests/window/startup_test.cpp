// Start-up: defaults, window texts, the settings summary and the gauges.

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QToolButton>

#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

using StartupTest = WindowTest;

TEST_F(StartupTest, FirstShowSetsDefaultsTextsAndSummary) {
  Start();
  EXPECT_EQ(st().AppDir, dir.File("") );
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Log")));
  EXPECT_EQ(st().Settings.ChipInTime, 17);
  EXPECT_EQ(st().Settings.OkNgDelay, 70);
  EXPECT_EQ(st().Settings.AutoDetectFlags, 7);
  EXPECT_EQ(form().SpdBtnExit->text().toStdString(), "&Eixt");
  EXPECT_EQ(form().Download1->text().toStdString(), "&Download");
  EXPECT_EQ(form().File1->title().toStdString(), "&File");
  EXPECT_EQ(form().CfgInfoLines(),
            (std::vector<std::string>{"Programmer Setup:", "  > No Number Control Enabled",
                                      "  > S/N Function Disabled", "  > Enable Auto-Chip Detect",
                                      "  > Enable Beeper", "  > Power On Time 100ms"}));
  const std::vector<std::string> lines = MemoLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "> 10:15:02 2026-12-08  Hello DorvikLumo-ZEK User! ");
  EXPECT_EQ(lines[1], "> 10:15:02 File of \"" + dir.File("DKxLumZEK.FWR") + "\" not Found!");
  EXPECT_EQ(BoxTexts().front(), "File \"" + dir.File("DKxLumZEK.FWR") + "\"Not Found, Please Confirm!");
  EXPECT_TRUE(form().Timer2->isActive());
}

struct GaugeCase {
  int slot_count;
  int shown;
  int memo_height;
};

class ArrangeGaugesTest : public WindowTest, public ::testing::WithParamInterface<GaugeCase> {};

TEST_P(ArrangeGaugesTest, ShowsPairsBottomAligned) {
  Create();
  const GaugeCase c = GetParam();
  st().PortSlotCount = static_cast<uint8_t>(c.slot_count);
  form().ArrangeGauges();
  for (int i = 0; i < kPortSlots; ++i) {
    EXPECT_EQ(!form().Gauges[i]->isHidden(), i < c.shown) << "gauge " << i;
    if (i < c.shown) {
      EXPECT_EQ(form().Gauges[i]->y(), 480 - 20 * (c.shown - 1 - i));
    }
  }
  EXPECT_EQ(form().InfoMemo->height(), c.memo_height);
}

INSTANTIATE_TEST_SUITE_P(Table, ArrangeGaugesTest,
                         ::testing::Values(GaugeCase{0, 1, 437}, GaugeCase{1, 1, 437}, GaugeCase{2, 2, 417},
                                           GaugeCase{3, 4, 377}, GaugeCase{4, 4, 377}, GaugeCase{5, 6, 337},
                                           GaugeCase{6, 6, 337}, GaugeCase{7, 8, 297}, GaugeCase{8, 8, 297},
                                           GaugeCase{9, 10, 257}, GaugeCase{10, 10, 257}));

}  // namespace
}  // namespace zek::testing
