#pragma once
// The eight checksums over buf[start .. end]. Every one but the NEC check
// refuses a start or end above 0xFFFFFF (result 0); end below start gives
// each one's empty value.

#include <cstdint>

namespace rhb {

inline constexpr uint32_t kChecksumLimit = 0xFFFFFF;
inline constexpr uint16_t kKelpraPolynomial = 0x4A12;
inline constexpr uint16_t kNecPolynomial = 0x1B00;

// 32-bit wrapping sum of the bytes.
uint32_t ByteSum32(const uint8_t* buf, uint32_t start, uint32_t end);

// s := (s >> 1) ^ b ^ (s odd ? polynomial : 0), 16 bits, from s = 0.
uint16_t ShiftXorCheck(const uint8_t* buf, uint32_t start, uint32_t end, uint16_t polynomial);

uint32_t BinaryCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);
uint32_t BinaryCheckSumDWord(const uint8_t* buf, uint32_t start, uint32_t end);
uint32_t BinaryRawAccSumDWord(const uint8_t* buf, uint32_t start, uint32_t end);
uint32_t BinaryRawAccSum(const uint8_t* buf, uint32_t start, uint32_t end);
uint32_t AccumulateCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);
uint32_t RandomCheckSum(const uint8_t* buf, uint32_t start, uint32_t end, uint32_t polynomial);
uint32_t KelpraCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);
uint32_t NecCheckSum(const uint8_t* buf, uint32_t start, uint32_t end);

}  // namespace rhb
