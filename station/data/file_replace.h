#pragma once
// Replacing a small text file as a whole, so a failed write never leaves
// it half written.

#include <string>

namespace zek {

// Writes `text` beside the file and renames it over the file. A symbolic
// link stays a link: the file it leads to is replaced, in its own folder.
// The replaced file's permissions (and, where allowed, owner and group)
// carry over. Raises FileError naming `path` when anything fails; the old
// file is then left as it was.
void ReplaceFileAtomically(const std::string& path, const std::string& text);

}  // namespace zek
