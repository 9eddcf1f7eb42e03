#include "filelib/checksums.h"

namespace rhb {

namespace {

bool OutOfRange(uint32_t start, uint32_t end) { return start > kChecksumLimit || end > kChecksumLimit; }

}  // namespace

uint32_t ByteSum32(const uint8_t* buf, uint32_t start, uint32_t end) {
  uint32_t sum = 0;
  for (uint64_t a = start; a <= end; ++a) sum += buf[a];
  return sum;
}

uint16_t ShiftXorCheck(const uint8_t* buf, uint32_t start, uint32_t end, uint16_t polynomial) {
  uint16_t s = 0;
  for (uint64_t a = start; a <= end; ++a) {
    uint16_t p = (s & 1) ? polynomial : 0;
    s = static_cast<uint16_t>((s >> 1) ^ buf[a] ^ p);
  }
  return s;
}

uint32_t BinaryCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  if (OutOfRange(start, end)) return 0;
  if (end < start) return 0x10000;
  return 0x10000 - (ByteSum32(buf, start, end) & 0xFFFF);
}

uint32_t BinaryCheckSumDWord(const uint8_t* buf, uint32_t start, uint32_t end) {
  return 0u - BinaryRawAccSumDWord(buf, start, end);
}

uint32_t BinaryRawAccSumDWord(const uint8_t* buf, uint32_t start, uint32_t end) {
  if (OutOfRange(start, end) || end < start) return 0;
  return ByteSum32(buf, start, end);
}

uint32_t BinaryRawAccSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  return BinaryRawAccSumDWord(buf, start, end) & 0xFFFF;
}

uint32_t AccumulateCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  if (OutOfRange(start, end)) return 0;
  if (end < start) return 0x10000;
  return (ByteSum32(buf, start, end) ^ 0xFFFF) + 1;
}

uint32_t RandomCheckSum(const uint8_t* buf, uint32_t start, uint32_t end, uint32_t polynomial) {
  if (OutOfRange(start, end) || end < start) return 0;
  return ShiftXorCheck(buf, start, end, static_cast<uint16_t>(polynomial));
}

uint32_t KelpraCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  return RandomCheckSum(buf, start, end, kKelpraPolynomial);
}

uint32_t NecCheckSum(const uint8_t* buf, uint32_t start, uint32_t end) {
  if (end < start) return 0;
  return ShiftXorCheck(buf, start, end, kNecPolynomial);
}

}  // namespace rhb
