#pragma once
// Reads a text object file line by line, the way both record readers
// need it: lines end at LF, CR or CR LF, are numbered from 1, and each
// non-zero parser code asks the operator whether to go on.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "station/data/format.h"
#include "station/data/station_state.h"

namespace zek {

class TextLineReader {
 public:
  // Raises FileError when the file cannot be opened.
  explicit TextLineReader(const std::string& path);
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // The next line without its terminator; false at end of file. The view
  // stays valid until the next call. A line longer than the reader's
  // window is cut to it (no record needs a fraction of that) and the rest
  // of it skipped. A failing read raises FileError.
  bool Next(std::string_view& line);

 private:
  bool Fill();
  std::string path_;
  int fd_ = -1;
  std::vector<char> window_;
  size_t begin_ = 0, end_ = 0, scanned_ = 0;
  bool eof_ = false;
  bool skip_lf_ = false;    // the last line ended in CR; a following LF belongs to it
  bool skip_rest_ = false;  // the last line was cut; drop up to its terminator
};

struct RecordFileRules {
  std::string_view line_box;  // "Line %d : %s..." with line number, text, code
  bool skip_empty_lines;
};

// The loop shared by ReadHexFile and ReadS19File. `parse(line, lowest,
// highest)` returns the record code. After every parsed line that was not
// aborted the running lowest and highest go to the caller's out values;
// a file without a parsed line leaves them untouched.
template <typename Parse>
void ReadRecordFile(StationState& st, const std::string& path, const RecordFileRules& rules, uint32_t& lowest,
                    uint32_t& highest, Parse&& parse) {
  TextLineReader reader(path);
  uint32_t low = 0xFFFFFFFF, high = 0;
  int line_number = 0;
  std::string_view line;
  while (reader.Next(line)) {
    ++line_number;
    if (line.empty() && rules.skip_empty_lines) continue;
    uint8_t code = parse(line, low, high);
    if (code != 0) {
      BoxChoice choice = st.Views.Boxes->ErrorOkAbort(Format(rules.line_box, {line_number, line, code}));
      if (choice == BoxChoice::Abort) break;
    }
    lowest = low;
    highest = high;
  }
}

}  // namespace zek
