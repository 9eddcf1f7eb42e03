#pragma once
// How a spin edit reads its text: a number (StrToInt's rules) brought into
// the edit's range; a text that is no number reads as the range minimum.

#include <cstdint>
#include <string_view>

namespace zek {

int32_t SpinEditValue(std::string_view text, int32_t min, int32_t max);

}  // namespace zek
