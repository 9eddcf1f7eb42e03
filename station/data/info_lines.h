#pragma once
// Lines of the information log. Time-stamped lines carry "> " and the
// long time; port lines add " C<n>:" with the slot number plus one.

#include <string>

#include "station/data/station_state.h"
#include "station/data/views.h"

namespace zek {

// "> " + time + " " + message.
void AddInfoLine(StationState& st, const std::string& message);
// "> " + time + " C%d: " with port + 1, then the message.
void AddPortInfoLine(StationState& st, const std::string& message, int port);
// A line without time stamp or port tag (separators, dumps).
void AddPlainLine(StationState& st, const std::string& line);

// The message boxes of a run nobody watches: each text becomes an
// information line and the run goes on, so an OK/Abort box answers OK.
class InfoLineBoxes : public MessageBoxView {
 public:
  explicit InfoLineBoxes(StationState& st) : st_(st) {}
  void Information(const std::string& text) override { AddInfoLine(st_, text); }
  void Warning(const std::string& text) override { AddInfoLine(st_, text); }
  BoxChoice ErrorOkAbort(const std::string& text) override;
  void Plain(const std::string& text) override { AddInfoLine(st_, text); }

 private:
  StationState& st_;
};

}  // namespace zek
