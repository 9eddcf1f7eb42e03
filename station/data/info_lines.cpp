#include "station/data/info_lines.h"

#include "station/data/format.h"

namespace zek {
namespace {

// A reader of the stream takes one text per line: each run of line breaks
// inside the text becomes one blank.
std::string OneLine(const std::string& text) {
  std::string line;
  bool broken = false;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      broken = !line.empty();
      continue;
    }
    if (broken) line += ' ';
    broken = false;
    line += c;
  }
  return line;
}

}  // namespace

void AddInfoLine(StationState& st, const std::string& message) {
  st.SharedInfoMemo->AppendLine("> " + st.TimeSource->LongTime() + " " + message);
}

void AddPortInfoLine(StationState& st, const std::string& message, int port) {
  st.SharedInfoMemo->AppendLine("> " + st.TimeSource->LongTime() + Format(" C%d: ", {port + 1}) + message);
}

void AddPlainLine(StationState& st, const std::string& line) { st.SharedInfoMemo->AppendLine(line); }

BoxChoice InfoLineBoxes::ErrorOkAbort(const std::string& text) {
  Tell(text);
  return BoxChoice::Ok;
}

void InfoLineBoxes::Tell(const std::string& text) {
  AddInfoLine(st_, text);
  if (also_ != nullptr) *also_ << OneLine(text) + '\n' << std::flush;
}

}  // namespace zek
