#pragma once
// The runtime's texts for input/output errors, by errno value.

#include <string>

namespace rhb {

// "File not found", "File access denied", ... or "I/O error %d".
std::string IoErrorText(int error);

}  // namespace rhb
