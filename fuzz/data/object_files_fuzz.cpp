// The whole-file readers on real files: the input (after a selector byte
// and the chip map) is written to a temporary file and read back through
// ReadHexFile, ReadS19File or ReadBinaryFileSum, boxes answered from the
// selector. A binary read must store a prefix of the file and sum exactly
// what it stored.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <string>

#include "fuzz/data/record_fuzz_input.h"
#include "station/data/object_file_binary.h"
#include "station/data/object_file_hex.h"
#include "station/data/object_file_s19.h"
#include "station/data/views.h"

namespace {

// Answers OK until the given box, then Abort.
class CountingBoxes : public zek::MessageBoxView {
 public:
  explicit CountingBoxes(unsigned abort_at) : abort_at_(abort_at) {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  zek::BoxChoice ErrorOkAbort(const std::string&) override {
    return ++asked_ == abort_at_ ? zek::BoxChoice::Abort : zek::BoxChoice::Ok;
  }
  void Plain(const std::string&) override {}

 private:
  unsigned abort_at_;
  unsigned asked_ = 0;
};

class TempFile {
 public:
  TempFile() : path_("/tmp/zek-fuzz-object-" + std::to_string(::getpid())) {}
  ~TempFile() { std::remove(path_.c_str()); }
  bool Write(const uint8_t* data, size_t size) const {
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void ReadBinary(zek::StationState& st, const std::string& path, const uint8_t* data, size_t size, uint8_t selector) {
  // No limit, the flash's end, or an end inside the file.
  uint32_t end = selector & 0x10 ? st.FlashEndAddress : selector & 0x20 ? static_cast<uint32_t>(size / 2) : 0;
  uint32_t sum = 7;
  zek::ReadBinaryFileSum(st, path, st.MainBuffer.span(), end, sum);
  const uint32_t stored = end;
  if (stored > size || stored > st.MainBuffer.size()) __builtin_trap();
  if (!std::equal(data, data + stored, st.MainBuffer.data())) __builtin_trap();
  if (sum != std::accumulate(data, data + stored, 7u)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TempFile file;
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  ++data;
  --size;
  zek::StationState& st = zek::fuzzing::Station();
  zek::fuzzing::ChooseMap(st, data, size);
  CountingBoxes boxes((selector >> 6) * 3u);  // 0: never Abort
  zek::MessageBoxView* shown_before = st.Views.Boxes;
  st.Views.Boxes = &boxes;
  if (!file.Write(data, size)) return 0;
  uint32_t lowest = 0, highest = 0, sum = 0;
  switch (selector % 3) {
    case 0: zek::ReadHexFile(st, file.Path(), lowest, highest, sum); break;
    case 1: zek::ReadS19File(st, file.Path(), lowest, highest, sum); break;
    default: ReadBinary(st, file.Path(), data, size, selector); break;
  }
  st.Views.Boxes = shown_before;
  return 0;
}
