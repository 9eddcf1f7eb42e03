#pragma once
// The station's 10 ms clock for operations: each busy slot's time-out
// counts down, time-driven gauges advance, and a slot whose unit has gone
// silent ends with "Operation Time Out!". Main thread only.

#include "station/data/station_state.h"

namespace zek {

// One tick of 10 ms over slots 0-9 in order.
void CountDownTimeouts(StationState& st);

// True when a command-line run that asked to exit has a download and the
// latest download of every slot that was sent one has succeeded.
bool CommandLineRunFinished(const StationState& st);

}  // namespace zek
