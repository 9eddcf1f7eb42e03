#pragma once
// Names of the programmer models a project file can name by code.

#include <cstdint>
#include <string>

namespace zek {

inline constexpr uint8_t kStationModelCode = 80;  // the code this station writes

// The model's name (at most 16 characters) for a code; every code the table
// lacks gives the one default name.
std::string GetProgrammerModelName(uint8_t code);

}  // namespace zek
