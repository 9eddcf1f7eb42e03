// The TI-430 and text-hex line rules, each line in a block of its own size.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "filelib/text_loaders.h"
#include "fuzz/filelib/fuzz_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  uint8_t* image = rhbfuzz::Image16M();
  rhb::Ti430State ti;
  bool ti_done = false;
  while (!text.empty()) {
    size_t lf = text.find('\n');
    rhbfuzz::ExactLine line(text.substr(0, lf));
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    if (!ti_done && !line.bytes.empty()) ti_done = !rhb::Ti430LoadLine(line.view(), image, ti);
    rhb::TextHexLoadLine(line.view(), image);
  }
  return 0;
}
