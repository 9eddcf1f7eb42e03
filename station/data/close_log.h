#pragma once
// The log file written when the station closes: system-named in the "Log"
// folder beside the program, or named by the operator (new, overwritten or
// appended).

#include <string>
#include <vector>

#include "station/data/station_state.h"

namespace zek {

enum class LogFileMode { NewFile = 0, Overwrite = 1, Append = 2 };

// What the log settings dialog says at close.
struct LogFileChoice {
  bool Enabled = false;
  bool NameAuto = true;
  LogFileMode Mode = LogFileMode::NewFile;
  std::string FileName;  // the operator's name, used as typed
};

inline constexpr char kAppendLogHeader[] = "Kelpra Log File!";

// AppDir + "/Log/ZEK_<date>_<time>.log": every '-', '/' and ':' of the
// date and time turned into '_' (the program folder keeps its own).
std::string SystemLogPath(const std::string& app_dir, const Clock& clock);

// Writes `lines` as the choice says. A system-named file is written only
// for more than six lines, and a failure there shows "Write Log File
// error!" and returns; an operator-named file raises FileError on failure.
void WriteCloseLogFile(StationState& st, const LogFileChoice& choice, const std::vector<std::string>& lines);

}  // namespace zek
