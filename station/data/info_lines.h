#pragma once
// Lines of the information log. Time-stamped lines carry "> " and the
// long time; port lines add " C<n>:" with the slot number plus one.

#include <ostream>
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
// With `also`, each text is written there too, as one line: the log that
// holds the lines may itself be what could not be written.
class InfoLineBoxes : public MessageBoxView {
 public:
  explicit InfoLineBoxes(StationState& st, std::ostream* also = nullptr) : st_(st), also_(also) {}
  void Information(const std::string& text) override { Tell(text); }
  void Warning(const std::string& text) override { Tell(text); }
  BoxChoice ErrorOkAbort(const std::string& text) override;
  void Plain(const std::string& text) override { Tell(text); }

 private:
  void Tell(const std::string& text);
  StationState& st_;
  std::ostream* also_;
};

}  // namespace zek
