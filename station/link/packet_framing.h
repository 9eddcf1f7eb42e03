#pragma once
// Packets and their SLIP-style frames on the serial line.
//
// Packet: code, 16-bit parameter, family, class, index, data length n
// (bytes 6-7), n data bytes, then Check16 over everything before it; all
// little-endian. Frame: 0xC0, the packet with 0xC0 -> DB DC and
// 0xDB -> DB DD, 0xC0, and (station to unit) five 0xFF bytes.

#include <cstdint>
#include <span>

namespace zek {

inline constexpr uint8_t kSlipEnd = 0xC0;
inline constexpr uint8_t kSlipEsc = 0xDB;
inline constexpr uint8_t kSlipEscEnd = 0xDC;
inline constexpr uint8_t kSlipEscEsc = 0xDD;

inline constexpr uint8_t kResultOk = 0;
inline constexpr uint8_t kResultDataError = 32;
inline constexpr uint8_t kResultChecksumError = 35;

inline constexpr int kPacketHeaderSize = 8;

// Check16 over packet[start .. end]; the packet's own check.
uint16_t Check16Packet(std::span<const uint8_t> packet, uint32_t start, uint32_t end);

// 0x10000 minus the 16-bit byte sum of buffer[start .. end] (1 .. 0x10000);
// 0 when start lies above 0xFFFFFF.
uint32_t NegSum16(std::span<const uint8_t> buffer, uint32_t start, uint32_t end);

// Encodes packet[0 .. n-1] as a frame into out and returns the bytes
// written. Returns 0 and leaves the frame unusable when out cannot hold it.
uint16_t SlipEncode(std::span<const uint8_t> packet, std::span<uint8_t> out, uint16_t n);

// Decodes the next frame of frame[0 .. count-1] into packet. Consumed bytes
// are removed from the front of frame and count is reduced by them.
// Returns 0 when a packet of at least 8 bytes came out, else 32; a bad
// frame (no delimiter, bad escape, no closing delimiter, or more bytes
// than packet holds) leaves out_length 0.
uint8_t SlipDecode(std::span<uint8_t> frame, std::span<uint8_t> packet, uint16_t& out_length, uint16_t& count);

// Checks a decoded packet of `length` bytes (check included): 35 on a check
// mismatch; else 0 when the data length field is above 2 (the handler reads
// the status itself), else the unit's status in data byte 0.
uint8_t CheckPacket(std::span<const uint8_t> packet, uint16_t length);

}  // namespace zek
