#pragma once

#include "station/data/station_state.h"

namespace zek {

// Begins the download chain on one slot: state 0, block-mode progress, the
// line "Programmer %d : Start to download data......" and the scrambled
// configuration image with a fresh random word. The chain then runs in the
// reply handlers; PortAutoSeq is left as it is. The slot's download is
// pending again: a success it had counted no longer counts.
void StartDownload(StationState& st, int port);

// The command-line download: the count starts afresh and every slot whose
// unit is identified (one in a firmware upgrade is not) gets the download,
// in slot order. Returns the number of slots started.
int StartCommandLineDownload(StationState& st);

// Whether every open port has an identified unit, so the command-line run
// can start. A port that could not be opened, or that hung up, has no unit
// to wait for; an open one whose unit never answers is waited for.
bool OpenPortsIdentified(const StationState& st);

// Counts the slot's success once, however often it downloads.
void CountDownloadSuccess(StationState& st, int port);

}  // namespace zek
