#include <string>

#include "filelib/hex_text.h"
#include "filelib/output_file.h"
#include "filelib/writers.h"

namespace rhb {

namespace {

enum RecordType : uint8_t { kData = 0x00, kLinearBase = 0x04 };

constexpr uint32_t kSmallRecord = 16;   // files that end below 64 KiB
constexpr uint32_t kLargeRecord = 32;   // files with extended addresses
constexpr uint32_t kLargestSmallEnd = 0xFFFF;
constexpr char kEndOfFile[] = ":00000001FF";

void AppendRecord(std::string& out, uint8_t type, uint16_t address, const uint8_t* data, uint32_t n) {
  uint32_t sum = n + (address >> 8) + (address & 0xFF) + type;
  out.push_back(':');
  AppendByte(out, static_cast<uint8_t>(n));
  AppendHex(out, address, 4);
  AppendByte(out, type);
  for (uint32_t i = 0; i < n; ++i) {
    AppendByte(out, data[i]);
    sum += data[i];
  }
  AppendByte(out, static_cast<uint8_t>(0x100 - (sum & 0xFF)));
  out += kLineEnd;
}

void AppendLinearBase(std::string& out, uint16_t upper) {
  const uint8_t value[2] = {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper)};
  AppendRecord(out, kLinearBase, 0, value, 2);
}

class HexRecordWriter {
 public:
  HexRecordWriter(OutputFile& file, uint32_t record_bytes) : file_(file), record_bytes_(record_bytes) {}

  void Add(uint32_t address, uint8_t b) {
    if (n_ == 0) address_ = static_cast<uint16_t>(address);
    data_[n_++] = b;
    if (n_ == record_bytes_) Emit();
  }
  void Emit() {
    if (n_ > 0) AppendRecord(text_, kData, address_, data_, n_);
    n_ = 0;
    if (text_.size() >= 64 * 1024) Drain();
  }
  void LinearBase(uint16_t upper) { AppendLinearBase(text_, upper); }
  void Finish() {
    Emit();
    text_ += kEndOfFile;
    text_ += kLineEnd;
    Drain();
  }

 private:
  void Drain() {
    file_.Write(text_);
    text_.clear();
  }

  OutputFile& file_;
  uint32_t record_bytes_;
  uint8_t data_[kLargeRecord] = {};
  uint32_t n_ = 0;
  uint16_t address_ = 0;
  std::string text_;
};

}  // namespace

int WriteIntelHexFile(const char* path, const uint8_t* buf, uint32_t base, uint32_t start, uint32_t end) {
  OutputFile file;
  if (!file.Create(path)) return file.Close();
  bool extended = end > kLargestSmallEnd;
  HexRecordWriter w(file, extended ? kLargeRecord : kSmallRecord);
  uint16_t upper = static_cast<uint16_t>(start >> 16);
  if (extended) w.LinearBase(upper);
  for (uint64_t a = start; a <= end; ++a) {
    uint32_t address = static_cast<uint32_t>(a);
    w.Add(address, buf[address - base]);
    if (extended && (address & 0xFFFF) == 0xFFFF) {
      w.Emit();
      w.LinearBase(++upper);
    }
  }
  w.Finish();
  return file.Close();
}

}  // namespace rhb
