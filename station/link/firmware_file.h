#pragma once
// The programmer firmware file "DKxLumZEK.FWR": a tagged header, a key
// table, the scrambled image and a 32-bit byte sum over everything before
// the sum. Loading leaves the plain image at FirmwareImage[0 ..].

#include <cstdint>
#include <span>
#include <string>

#include "station/data/station_state.h"

namespace zek {

inline constexpr char kFirmwareFileName[] = "DKxLumZEK.FWR";
// The unit addresses an image may end at: 1 to 32 blocks from 0x1000.
inline constexpr uint16_t kFirmwareLowestEnd = 0x1000;
inline constexpr uint16_t kFirmwareHighestEnd = 0x8FFF;

// Layout of the file.
inline constexpr size_t kFirmwareTagSize = 7;
inline constexpr size_t kFirmwareVersionOffset = 7;
inline constexpr size_t kFirmwareVersionSize = 8;
inline constexpr size_t kFirmwareKeyWordOffset = 15;
inline constexpr size_t kFirmwareKeyTableOffset = 25;
inline constexpr size_t kFirmwareKeyTableSize = 3290;
inline constexpr size_t kFirmwareImageOffset = kFirmwareKeyTableOffset + kFirmwareKeyTableSize;  // 3315
inline constexpr size_t kFirmwareTailSize = 876;
inline constexpr uint8_t kFirmwareTagMask = 0x4B;

// Reads the file and loads it as LoadFirmwareBytes does. A file that
// cannot be opened or read (missing, a folder, no permission, a read
// error) does not load: FirmwareOK 0 and an information line with the
// reason; nothing is raised.
void LoadFirmwareFile(StationState& st, const std::string& path);

// Loads a firmware file's bytes: FirmwareOK 1 only when the tag reads
// "DvkFmWr" and the stored sum matches. FirmwareVersion holds the file's
// version (all zero unless it begins with 'V') only when FirmwareOK is 1.
// A file that fails (a bad tag or sum, over 64 KiB, ending before its
// image and sum, an end address outside 0x1000-0x8FFF) is refused with an
// information line naming `name` and the reason. Never reads past
// `file` nor writes past FirmwareImage.
void LoadFirmwareBytes(StationState& st, std::span<const uint8_t> file, const std::string& name);

}  // namespace zek
