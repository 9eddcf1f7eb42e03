#pragma once
// A station without station logic, for the benchmarks' ceiling. On every
// line at once it writes a fixed list of commands, each exactly as the
// station writes it, and writes the next the moment the answer to the one
// before has ended and the line has then been quiet for the 3 ms that end
// every read of the station's serial ports. Over the line relay it shows
// the most any station can reach on those lines, so the station's own loss
// is its figure as a share of this one, measured in the same run.

#include <cstdint>
#include <string>
#include <vector>

#include "bench/e2e/line_relay.h"
#include "station/data/station_state.h"

namespace zek::testing {
struct FakeStation;
}

namespace zek::bench {

struct ScriptCommand {
  std::vector<uint8_t> bytes;  // the frame and its fill, as written
  bool answered = true;        // the unit answers it (a reset it does not)
};
using Script = std::vector<ScriptCommand>;

// What the station sends one unit for the operation `start` begins in
// `fs`, taken from the station's own routines against an in-process unit.
Script CaptureScript(testing::FakeStation& fs, void (*start)(StationState&, int));

// Plays `script` on every port station_dir/NAME at once. True when every
// answer came and reported success; a line silent for 10 s fails the run.
bool PlayIdealStation(const std::string& station_dir, const std::vector<std::string>& names, const Script& script);

// One play over `relay`, its counts reset first: the wire share of the
// transfers' span. `ok` becomes false when the play fails.
SpanFigure MeasureIdealStation(LineRelay& relay, const std::string& station_dir, const std::vector<std::string>& names,
                               const Script& script, bool& ok);

// The ceiling (the mean of the ideal runs before and after the station's),
// the station's share of it, and the turnaround the station adds to the
// ideal's; labels `width` wide.
void PrintCeiling(const SpanFigure& station, const SpanFigure& before, const SpanFigure& after, int width);

}  // namespace zek::bench
