// A port opened, queried and closed a thousand times while a unit answers:
// nothing leaks (the sanitizer builds check), nothing hangs, and every
// search still finds the unit.
#include <gtest/gtest.h>

#include "tests/e2e/station_rig.h"

namespace zek::testing {
namespace {

TEST(OpenCloseCycles, AThousandSearchesWithRepliesFlowingEndCleanly) {
  SimUnits sim({"-n", "1", "--unpaced"});
  StationRig rig;
  rig.ListPorts({"COM1"});
  TComm& comm = *rig.comms[0];
  int found = 0;
  for (int cycle = 0; cycle < 1000; ++cycle) {
    const size_t lines = rig.fs.memo.lines.size();
    if (cycle % 4 == 3) {
      // Closed while the reply is still on its way.
      comm.ClosePort();
      comm.OpenPort();
      const uint8_t query[] = {0xC0, 0xA3, 0xA5, 0x35, 0xC0};
      ASSERT_TRUE(comm.SendBuffer(query, sizeof query));
      comm.ClosePort();
      continue;
    }
    ASSERT_TRUE(rig.FindUnits(1, 5s)) << "cycle " << cycle;
    ASSERT_GT(rig.fs.memo.lines.size(), lines);
    ++found;
  }
  comm.ClosePort();
  rig.RunUntil([] { return false; }, 50ms);  // what was posted before the close
  EXPECT_EQ(found, 750);
  EXPECT_EQ(rig.hangups[0], 0);
  EXPECT_EQ(comm.QueuedThreadMessages(), 0u);
  EXPECT_EQ(rig.LastMessage(0), "Found Device 1 : DorvikLumqo-ZEK V2.05, Dorvik410!");
}

}  // namespace
}  // namespace zek::testing
