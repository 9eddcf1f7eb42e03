#pragma once
// The packets a unit sends back and their frames. A reply echoes the
// command's code, parameter and chip descriptor (bytes 0-5), carries its
// data length in bytes 6-7 and ends in the 16-bit check. Short replies
// carry two data bytes: the status and 0.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zek::sim {

using Bytes = std::vector<uint8_t>;

// Appends the packet as a frame: 0xC0, the escaped bytes, 0xC0.
void AppendFrame(Bytes& out, std::span<const uint8_t> packet);

// Appends the check over every byte of the packet.
void SealPacket(Bytes& packet);

// A reply to `command` (at least 6 bytes) carrying `data`, sealed.
Bytes DataReply(std::span<const uint8_t> command, std::span<const uint8_t> data);

// A short reply: data {status, 0}, sealed.
Bytes StatusReply(std::span<const uint8_t> command, uint8_t status);

// A stand-alone report: FD, step, status, progress, maximum, and a last
// byte that makes bytes 0-7 add up to 0 modulo 256; sealed.
Bytes InfoReport(uint8_t step, uint8_t status, uint16_t progress, uint16_t maximum);

// The answer to the identity query: A3 A5, the mode byte (0x53 normal,
// 0x35 ready for a firmware upgrade), the text length in bytes 6-7 and the
// text from byte 28, zero-padded past byte 100 so that the whole text area
// is defined; sealed. Texts longer than 200 bytes are cut.
Bytes IdentityReply(const std::string& text, bool upgradable);

}  // namespace zek::sim
