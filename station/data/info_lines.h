#pragma once
// Lines of the information log. Time-stamped lines carry "> " and the
// long time; port lines add " C<n>:" with the slot number plus one.

#include <string>

#include "station/data/station_state.h"

namespace zek {

// "> " + time + " " + message.
void AddInfoLine(StationState& st, const std::string& message);
// "> " + time + " C%d: " with port + 1, then the message.
void AddPortInfoLine(StationState& st, const std::string& message, int port);
// A line without time stamp or port tag (separators, dumps).
void AddPlainLine(StationState& st, const std::string& line);

}  // namespace zek
