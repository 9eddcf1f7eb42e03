#include "station/data/byte_sums.h"

namespace zek {
namespace {

// Check16 is linear over GF(2): one byte step is r := M(r) ^ b with
// M(r) = (r >> 1) ^ (r odd ? 0x4A12 : 0). Eight steps at once are
// r := M^8(r) ^ M^7(b0) ^ ... ^ M^1(b6) ^ b7, and every M^k is a table, so
// the chain through r is two lookups per eight bytes instead of eight
// dependent steps.
constexpr uint16_t StepZero(uint16_t r) { return Check16Step(r, 0); }

constexpr uint16_t Power(uint16_t r, int k) {
  for (int i = 0; i < k; ++i) r = StepZero(r);
  return r;
}

struct Check16Tables {
  uint16_t r_low[256], r_high[256];  // M^8 of r's low and high byte
  uint16_t byte[8][256];             // byte[k][b] = M^k(b)
};

constexpr Check16Tables MakeTables() {
  Check16Tables t{};
  for (int x = 0; x < 256; ++x) {
    t.r_low[x] = Power(static_cast<uint16_t>(x), 8);
    t.r_high[x] = Power(static_cast<uint16_t>(x << 8), 8);
    for (int k = 0; k < 8; ++k) t.byte[k][x] = Power(static_cast<uint16_t>(x), k);
  }
  return t;
}

constexpr Check16Tables kTables = MakeTables();

uint16_t Check16Run(const uint8_t* p, size_t n) {
  uint16_t r = 0;
  for (; n >= 8; n -= 8, p += 8) {
    uint16_t bytes = kTables.byte[7][p[0]] ^ kTables.byte[6][p[1]] ^ kTables.byte[5][p[2]] ^
                     kTables.byte[4][p[3]] ^ kTables.byte[3][p[4]] ^ kTables.byte[2][p[5]] ^
                     kTables.byte[1][p[6]] ^ p[7];
    r = kTables.r_low[r & 0xFF] ^ kTables.r_high[r >> 8] ^ bytes;
  }
  for (; n > 0; --n) r = Check16Step(r, *p++);
  return r;
}

// Clips [start, end] to the buffer; false when nothing is left.
bool Clip(std::span<const uint8_t> buffer, uint32_t start, uint32_t& end) {
  if (end < start || start >= buffer.size()) return false;
  if (end >= buffer.size()) end = static_cast<uint32_t>(buffer.size() - 1);
  return true;
}

}  // namespace

uint32_t SumBytes(std::span<const uint8_t> buffer, uint32_t start, uint32_t end) {
  if (!Clip(buffer, start, end)) return 0;
  uint32_t sum = 0;
  for (uint32_t i = start; i <= end; ++i) sum += buffer[i];
  return sum;
}

uint16_t Check16(std::span<const uint8_t> buffer, uint32_t start, uint32_t end) {
  if (start > 0xFFFFFF || end > 0xFFFFFF) return 0;
  if (!Clip(buffer, start, end)) return 0;
  return Check16Run(buffer.data() + start, end - start + 1u);
}

}  // namespace zek
