#pragma once
// Project files (.RQT): the chip, the programmer settings, the configuration
// image sent to the units, and the main and EEPROM images in one scrambled
// file with a 32-bit sum. Main thread only.

#include <cstdint>
#include <string>

#include "station/data/station_state.h"

namespace zek {

// Results of ReadProjectFile.
inline constexpr uint8_t kProjectOk = 0;
inline constexpr uint8_t kProjectNotKelpra = 5;
inline constexpr uint8_t kProjectBadCfgTag = 10;
inline constexpr uint8_t kProjectBadMfmTag = 13;
inline constexpr uint8_t kProjectBadEepTag = 15;
inline constexpr uint8_t kProjectCorrupted = 16;

// Offset of the configuration area in port slot 0's packet buffer: the
// caller builds the configuration image there (BuildConfigImage(st, 8, 0))
// just before SaveProjectFile.
inline constexpr size_t kProjectConfigOffset = 8;

// Writes the project file from the state, the 2048 bytes at
// PortPacketBuf[0][8..] and the images (FlashSizeKB x 1024 bytes of
// MainBuffer, EepSize bytes of EepBuffer; bytes past an image go out as
// 0xFF), then shows and logs "Created Project File : " + path. Raises
// FileError when the file cannot be created, written or closed.
void SaveProjectFile(StationState& st, const std::string& path, uint8_t model);

// Reads a project file; returns 0, or 5 (not a project file), 10, 13, 15
// (the last bad CFG, MFM or EEP tag) or 16 (damaged: sum wrong, file cut
// short, sizes beyond the images, images that do not give the main and
// EEPROM sums the header and the configuration area carry, a configuration
// image whose check words are not its own, or header fields that differ
// from their copies there). The file is read into buffers of its own: only
// a result of 0 changes the station, and then all at once (header values,
// ChipConfigBlock, the images with 0xFF past the sections, and
// FileLoaded := 1). Logs the result and shows it in a box unless
// CmdLineProject is set. Raises FileError when the file cannot be opened or
// read, with the station unchanged.
uint8_t ReadProjectFile(StationState& st, const std::string& path);

// Copies the descriptor and settings out of ChipConfigBlock (the image's
// layout), and OptionBuffer[0 .. 511] with 0xFF after it. A flash or
// EEPROM size there beyond MainBuffer or EepBuffer is not taken: the size
// in use stays.
void UnpackChipConfig(StationState& st);

// EepSize.
uint16_t GetEEPSize(const StationState& st);

}  // namespace zek
