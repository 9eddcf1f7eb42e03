#pragma once
// The 1536-byte configuration image that opens a download ("PXZW", the
// settings block, the serial-number settings, ChipName, ObjectFileName and
// the option image, with two check/sum pairs), and its scrambled 0x53
// packet.

#include <cstddef>
#include <cstdint>
#include <span>

#include "station/data/station_state.h"

namespace zek {

inline constexpr size_t kConfigImageSize = 1536;

// Fills image from the station's state. Draws from the station's
// generator: the settings block's two values, then 168 fill bytes.
void WriteConfigImage(StationState& st, std::span<uint8_t, kConfigImageSize> image);

// Writes the image at offset of PortPacketBuf[port] (the download and the
// project writer use offset 8); writes nothing when it would not fit.
void BuildConfigImage(StationState& st, size_t offset, int port);

// Sends `code` with the word w in bytes 1-2 and the image, each byte pair
// XORed with w ^ kConfigScrambleKey (low byte first). Callers pass 0x53
// and a fresh draw below 65535.
bool SendConfigImage(StationState& st, uint8_t code, uint16_t word, int port);

}  // namespace zek
