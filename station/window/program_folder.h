#pragma once
// Where the program lies: the folder that holds its firmware file, its
// connection file, its "Log" folder and its result file.

#include <string>

namespace zek {

// The folder of `program_path` (argument 0), absolute and ending in '/';
// links are not followed, so a link to the program keeps the link's folder.
// A bare name is looked up as the shell looked it up: the first entry of
// `search_path` (PATH; an empty entry is the current folder) that holds an
// executable file of that name. Empty when the path is empty or the name
// is not found there.
std::string ProgramFolder(const std::string& program_path, const char* search_path);

}  // namespace zek
