#pragma once
// Saving a project: the configuration image is built where the project
// writer takes it from, then the file is written.

#include <cstdint>
#include <string>

#include "station/data/station_state.h"

namespace zek {

// Builds the configuration image at port slot 0's packet data from the
// current settings (the caller collects the window's controls first) and
// calls SaveProjectFile(st, path, model). Raises FileError as it does.
void WriteProjectFile(StationState& st, const std::string& path, uint8_t model);

}  // namespace zek
