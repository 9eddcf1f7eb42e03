#include "station/data/close_log.h"

#include <sys/stat.h>

#include "station/data/errors.h"
#include "station/data/text_file.h"

namespace zek {
namespace {

constexpr char kSystemLogPrefix[] = "/Log/ZEK_";

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string SystemLogPath(const std::string& app_dir, const Clock& clock) {
  return app_dir + kSystemLogPrefix + FileNameStamp(clock) + ".log";
}

void WriteCloseLogFile(StationState& st, const LogFileChoice& choice, const std::vector<std::string>& lines) {
  if (!choice.Enabled) return;
  if (choice.NameAuto) {
    if (lines.size() <= 6) return;
    try {
      WriteTextLines(SystemLogPath(st.AppDir, *st.TimeSource), lines);
    } catch (const FileError&) {
      st.Views.Boxes->Plain("Write Log File error!");
    }
    return;
  }
  if (choice.Mode != LogFileMode::Append) {
    WriteTextLines(choice.FileName, lines);
    return;
  }
  if (!FileExists(choice.FileName)) WriteTextLines(choice.FileName, {kAppendLogHeader});
  AppendTextLines(choice.FileName, lines);
}

}  // namespace zek
