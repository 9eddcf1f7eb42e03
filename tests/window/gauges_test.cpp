// The slots' gauges: their bars repaint at most once a tick of the 10 ms
// timer, show the last state the station gave them, and keep the rules of
// a progress bar for what they report in between.

#include <QApplication>
#include <QEvent>
#include <QProgressBar>
#include <algorithm>

#include "station/link/progress.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

class GaugeTest : public WindowTest {
 protected:
  GaugeTest() { Start(); }
  QProgressBar* Bar() { return form().Gauges[0]; }
  GaugeView& Gauge() { return form().GaugeOf(0); }
};

TEST_F(GaugeTest, BarsRepaintOnceATickWithTheLastStateTheSlotGave) {
  form().show();
  QApplication::processEvents();
  ASSERT_TRUE(Bar()->isVisible());
  PaintCounter counter(Bar());
  st().FlashSizeKB = 64;
  StartProgress(st(), 0, true, 0);
  for (int block = 4; block < 64; block += 4) Gauge().SetProgress(block);
  EndProgress(st(), true, 0);
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  EXPECT_EQ(Gauge().Progress(), 64);

  form().Timer1Timer();
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
  EXPECT_EQ(Bar()->maximum(), 64);
  EXPECT_EQ(Bar()->value(), 64);
  EXPECT_TRUE(Bar()->styleSheet().contains("rgb(255,0,0)")) << Bar()->styleSheet().toStdString();

  form().Timer1Timer();  // nothing new: no paint
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
}

struct GaugeCall {
  bool max;  // SetMax, else SetProgress
  int n;
};

struct RangeCase {
  const char* name;
  std::vector<GaugeCall> calls;
};

class GaugeRangeTest : public GaugeTest, public ::testing::WithParamInterface<RangeCase> {};

// A bar built as the window builds its gauges, given the calls at once.
TEST_P(GaugeRangeTest, ReportsAndShowsWhatABarGivenTheSameCallsHolds) {
  QProgressBar reference;
  reference.setRange(0, 100);
  reference.setValue(0);
  Gauge().SetMax(100);
  Gauge().SetProgress(0);
  for (const GaugeCall& call : GetParam().calls) {
    if (call.max) {
      Gauge().SetMax(call.n);
      reference.setMaximum(call.n);
    } else {
      Gauge().SetProgress(call.n);
      reference.setValue(std::min(call.n, reference.maximum()));
    }
  }
  EXPECT_EQ(Gauge().Max(), reference.maximum());
  EXPECT_EQ(Gauge().Progress(), reference.value());
  form().Timer1Timer();
  EXPECT_EQ(Bar()->maximum(), reference.maximum());
  EXPECT_EQ(Bar()->value(), reference.value());
}

INSTANTIATE_TEST_SUITE_P(
    Calls, GaugeRangeTest,
    ::testing::Values(RangeCase{"ValueBeyondANewMaximumEmptiesTheBar", {{false, 50}, {true, 30}}},
                      RangeCase{"AnEmptiedBarStaysEmptyWhenTheRangeGrows", {{false, 50}, {true, 30}, {true, 100}}},
                      RangeCase{"ProgressStopsAtTheMaximum", {{true, 20}, {false, 35}}},
                      RangeCase{"NegativeProgressIsIgnored", {{false, 7}, {false, -3}}},
                      RangeCase{"AnEmptyRange", {{true, 0}, {false, 5}}},
                      RangeCase{"ProgressBeforeItsMaximum", {{false, 2}, {true, 16}, {false, 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zek::testing
