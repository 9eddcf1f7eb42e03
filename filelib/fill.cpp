#include "filelib/fill.h"

#include <cstring>

namespace rhb {

void FillRows(uint8_t* buf, uint32_t last_row, uint8_t fill) {
  std::memset(buf, fill, (static_cast<uint64_t>(last_row) + 1) * kRowBytes);
}

}  // namespace rhb
