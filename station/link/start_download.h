#pragma once

#include "station/data/station_state.h"

namespace zek {

// Begins the download chain on one slot: state 0, block-mode progress, the
// line "Programmer %d : Start to download data......" and the scrambled
// configuration image with a fresh random word. The chain then runs in the
// reply handlers; PortAutoSeq is left as it is.
void StartDownload(StationState& st, int port);

}  // namespace zek
