#pragma once
// The firmware upgrade as the unit receives it: 0xB7 blocks of 2048 image
// bytes, scrambled with the key word and a random mask, and the 0xBD finish.

#include <cstdint>
#include <optional>
#include <span>

namespace zek::sim {

inline constexpr size_t kFirmwareBlockPacket = 4138;  // check included
inline constexpr size_t kFirmwareImageSize = 0x10000;
inline constexpr size_t kFirmwareBlockBytes = 2048;

// Writes the plain bytes of one block packet into image (three of every
// four bytes; the fourth is not sent and stays as it was). Returns the
// block number, or nullopt when the packet is not a well-formed block.
std::optional<int> UnpackFirmwareBlock(std::span<const uint8_t> packet, std::span<uint8_t> image);

// True for the finish packet: BD 00 'R' 'S' 00 00, length 2, data 00 00.
bool IsUpgradeFinish(std::span<const uint8_t> packet);

}  // namespace zek::sim
