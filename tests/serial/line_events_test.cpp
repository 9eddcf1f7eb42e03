#include "serial/line_events.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

namespace zek {
namespace {

// One step of the driver's counters, and what the receive thread is to
// report for it, given the flags still pending from earlier steps.
struct CounterCase {
  const char* name;
  void (*step)(serial_icounter_struct&);
  uint32_t pending_before;
  uint32_t errors;   // 0: no error event
  uint32_t modem;
  uint32_t pending_after;
};
void PrintTo(const CounterCase& c, std::ostream* os) { *os << c.name; }

class CounterChanges : public ::testing::TestWithParam<CounterCase> {};

TEST_P(CounterChanges, ReportTheEventsThatRose) {
  const CounterCase& c = GetParam();
  serial_icounter_struct was{};
  was.frame = was.overrun = was.parity = was.brk = was.buf_overrun = was.dcd = was.rng = 5;
  serial_icounter_struct now = was;
  c.step(now);
  uint32_t pending = c.pending_before;
  LineChanges changes = CompareCounters(was, now, pending);
  EXPECT_EQ(changes.errors, c.errors);
  EXPECT_EQ(changes.modem, c.modem);
  EXPECT_EQ(pending, c.pending_after);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CounterChanges,
    ::testing::Values(
        CounterCase{"Nothing", [](serial_icounter_struct&) {}, 0, 0, 0, 0},
        CounterCase{"Frame", [](serial_icounter_struct& n) { ++n.frame; }, 0, kLineFrame, 0, 0},
        CounterCase{"Overrun", [](serial_icounter_struct& n) { ++n.overrun; }, 0, kLineOverrun, 0, 0},
        CounterCase{"Parity", [](serial_icounter_struct& n) { n.parity += 3; }, 0, kLineParity, 0, 0},
        CounterCase{"FrameAndParity", [](serial_icounter_struct& n) { ++n.frame, ++n.parity; }, 0,
                    kLineFrame | kLineParity, 0, 0},
        CounterCase{"BreakAloneRaisesNoEvent", [](serial_icounter_struct& n) { ++n.brk; }, 0, 0, 0, kLineBreak},
        CounterCase{"FullBufferAloneRaisesNoEvent", [](serial_icounter_struct& n) { ++n.buf_overrun; }, 0, 0, 0,
                    kLineRxOver},
        CounterCase{"AnErrorCarriesTheFlagsKeptBefore", [](serial_icounter_struct& n) { ++n.frame; },
                    kLineBreak | kLineRxOver, kLineBreak | kLineRxOver | kLineFrame, 0, 0},
        CounterCase{"KeptFlagsWaitThroughQuietSteps", [](serial_icounter_struct&) {}, kLineBreak, 0, 0,
                    kLineBreak},
        CounterCase{"Carrier", [](serial_icounter_struct& n) { ++n.dcd; }, 0, 0, 8, 0},
        CounterCase{"Ring", [](serial_icounter_struct& n) { ++n.rng; }, 0, 0, 4, 0},
        CounterCase{"CarrierAndRing", [](serial_icounter_struct& n) { ++n.dcd, ++n.rng; }, 0, 0, 12, 0},
        CounterCase{"ErrorAndCarrier", [](serial_icounter_struct& n) { ++n.overrun, ++n.dcd; }, 0, kLineOverrun,
                    8, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Modem lines sampled where the driver keeps no counters.
TEST(LineChangesOfTheModemLines, CarrierEitherWayRingAsItRises) {
  struct {
    int was, now;
    uint32_t modem;
  } const cases[] = {
      {0, 0, 0},
      {0, TIOCM_CAR, 8},
      {TIOCM_CAR, 0, 8},
      {0, TIOCM_RNG, 4},
      {TIOCM_RNG, 0, 0},
      {0, TIOCM_CAR | TIOCM_RNG, 12},
      {TIOCM_CAR, TIOCM_RNG, 12},
      {TIOCM_DSR | TIOCM_CTS, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareLines(c.was, c.now).modem, c.modem) << std::hex << c.was << " -> " << c.now;
    EXPECT_EQ(CompareLines(c.was, c.now).errors, 0u);
  }
}

}  // namespace
}  // namespace zek
