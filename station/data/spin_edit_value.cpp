#include "station/data/spin_edit_value.h"

#include <algorithm>

#include "station/data/errors.h"

namespace zek {

int32_t SpinEditValue(std::string_view text, int32_t min, int32_t max) {
  try {
    return std::clamp(StrToInt(text), min, max);
  } catch (const ConvertError&) {
    return min;
  }
}

}  // namespace zek
