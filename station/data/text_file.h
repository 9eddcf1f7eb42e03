#pragma once
// Text files of lines, written the way the station writes its logs: one
// line each, Unix line ends, UTF-8.

#include <string>
#include <vector>

namespace zek {

// Creates or replaces the file. Raises FileError when it cannot be
// created, written or closed.
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

// Adds the lines at the end of an existing file (creating it when it is
// missing). Raises FileError as WriteTextLines does.
void AppendTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace zek
