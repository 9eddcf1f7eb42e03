#include <string>

#include "filelib/hex_text.h"
#include "filelib/output_file.h"
#include "filelib/writers.h"

namespace rhb {

namespace {

struct SFormat {
  char type;
  int address_bytes;
  uint32_t address_mask;
  const char* terminator;
};

constexpr SFormat kS1{'1', 2, 0xFFFF, "S9030000FC"};
constexpr SFormat kS2{'2', 3, 0xFFFFFF, "S804000000FB"};
constexpr SFormat kS3{'3', 4, 0xFFFFFFFF, "S70500000000FA"};
constexpr uint32_t kLineBytes = 32;

const SFormat& FormatFor(uint32_t end) {
  if (end <= 0xFFFF) return kS1;
  if (end <= 0xFFFFFF) return kS2;
  return kS3;
}

void AppendRecord(std::string& out, const SFormat& f, uint32_t address, const uint8_t* data, uint32_t n) {
  uint8_t count = static_cast<uint8_t>(n + f.address_bytes + 1);
  uint32_t sum = count;
  address &= f.address_mask;
  for (int i = f.address_bytes - 1; i >= 0; --i) sum += (address >> (8 * i)) & 0xFF;
  out.push_back('S');
  out.push_back(f.type);
  AppendByte(out, count);
  AppendHex(out, address, 2 * f.address_bytes);
  for (uint32_t i = 0; i < n; ++i) {
    AppendByte(out, data[i]);
    sum += data[i];
  }
  AppendByte(out, static_cast<uint8_t>(0xFF - (sum & 0xFF)));
  out += kLineEnd;
}

}  // namespace

int WriteSRecordFile(const char* path, const uint8_t* buf, uint32_t base, uint32_t start, uint32_t end) {
  OutputFile file;
  if (!file.Create(path)) return file.Close();
  const SFormat& f = FormatFor(end);
  std::string text;
  uint8_t line[kLineBytes];
  uint32_t n = 0;
  uint32_t line_address = start;
  for (uint64_t a = start; a <= end; ++a) {
    if (n == 0) line_address = static_cast<uint32_t>(a);
    line[n++] = buf[static_cast<uint32_t>(a) - base];
    if (n == kLineBytes) {
      AppendRecord(text, f, line_address, line, n);
      n = 0;
      if (text.size() >= 64 * 1024) {
        file.Write(text);
        text.clear();
      }
    }
  }
  if (n > 0) AppendRecord(text, f, line_address, line, n);
  text += f.terminator;
  text += kLineEnd;
  file.Write(text);
  return file.Close();
}

}  // namespace rhb
