// Whole loads over a memory-backed file: first byte picks the loader, the
// next four the base, the one after them the box answers; the rest is the
// file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "filelib/intel_hex_loaders.h"
#include "filelib/srecord_loaders.h"
#include "filelib/text_loaders.h"
#include "fuzz/filelib/fuzz_image.h"

namespace {

class BitBox final : public rhb::MessageBox {
 public:
  explicit BitBox(uint8_t bits) : bits_(bits) {}
  rhb::BoxAnswer ErrorOkAbort(const std::string&) override {
    bool abort = (bits_ >> (n_++ % 8)) & 1;
    return abort ? rhb::BoxAnswer::Abort : rhb::BoxAnswer::Ok;
  }
  void Error(const std::string&) override {}
  void Information(const std::string&) override {}

 private:
  uint8_t bits_;
  unsigned n_ = 0;
};

constexpr rhb::HexLoader kHex[] = {rhb::kDoOpenFile_HEX_Routine,      rhb::kExeOpenFile_HEX_RoutAndRT,
                                   rhb::kDoOpenFile18Fx_HEX_Routine,  rhb::kExeOpenFile18Fx_HEX_RoutAndRT,
                                   rhb::kDoOpenFile33Fx_HEX_Routine,  rhb::kExeOpenFile33Fx_HEX_RoutAndRT,
                                   rhb::kDoOpenFile_HEX32_Routine,    rhb::kExeOpenFile_HEX32_RoutAndRT};
constexpr rhb::SLoader kS[] = {rhb::kDoOpenFile_S19_Routine, rhb::kExeOpenFile_S19_RoutAndRT,
                               rhb::kDoOpenFile_SXx_Routine, rhb::kExeOpenFile_SXx_RoutAndRT};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  uint8_t pick = *data++;
  --size;
  uint32_t base = rhbfuzz::Take32(data, size);
  uint8_t answers = size > 0 ? *data++ : 0;
  if (size > 0) --size;
  rhb::MemorySource file(std::string_view(reinterpret_cast<const char*>(data), size));
  BitBox box(answers);
  uint32_t start = 0, end = 0, sum = 0;
  rhb::LoadTarget target{rhbfuzz::Image16M(), base, &start, &end, &sum};
  unsigned which = pick % 14;
  if (which < 8)
    rhb::LoadHex(file, kHex[which], target, box);
  else if (which < 12)
    rhb::LoadSRecords(file, kS[which - 8], target, box);
  else if (which == 12)
    rhb::LoadTi430Text(file, target.buf, &start, &end);
  else
    rhb::LoadTextHex(file, target.buf, &start, &end);
  return 0;
}
