#include "station/link/hex_dump.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "station/data/errors.h"

namespace zek {

void WriteHexDump(const std::string& path, std::span<const uint8_t> buffer, uint32_t end) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "w"), &std::fclose);
  if (!file) throw FileError(errno, path);
  static const char kDigits[] = "0123456789ABCDEF";
  uint32_t rows = (end >> 4) + 1;
  if (rows > 65536) rows = 65536;
  char line[16 + 16 * 3 + 2];
  for (uint32_t r = 0; r < rows; ++r) {
    uint32_t base = r * 16;
    int n = std::snprintf(line, sizeof line, "0x%06X:", base);
    for (uint32_t k = 0; k < 16 && base + k < buffer.size(); ++k) {
      uint8_t b = buffer[base + k];
      line[n++] = ' ';
      line[n++] = kDigits[b >> 4];
      line[n++] = kDigits[b & 15];
    }
    line[n++] = '\n';
    if (std::fwrite(line, 1, n, file.get()) != static_cast<size_t>(n)) throw FileError(errno, path);
  }
  FILE* raw = file.release();
  if (std::fclose(raw) != 0) throw FileError(errno, path);
}

}  // namespace zek
