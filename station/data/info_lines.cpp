#include "station/data/info_lines.h"

#include "station/data/format.h"

namespace zek {

void AddInfoLine(StationState& st, const std::string& message) {
  st.SharedInfoMemo->AppendLine("> " + st.TimeSource->LongTime() + " " + message);
}

void AddPortInfoLine(StationState& st, const std::string& message, int port) {
  st.SharedInfoMemo->AppendLine("> " + st.TimeSource->LongTime() + Format(" C%d: ", {port + 1}) + message);
}

void AddPlainLine(StationState& st, const std::string& line) { st.SharedInfoMemo->AppendLine(line); }

BoxChoice InfoLineBoxes::ErrorOkAbort(const std::string& text) {
  AddInfoLine(st_, text);
  return BoxChoice::Ok;
}

}  // namespace zek
