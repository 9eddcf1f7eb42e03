#pragma once
// The upgrade of a unit's firmware: the image of the loaded firmware file
// goes out block by block in scrambled 0xB7 packets, one reply each, and
// ends with a 0xBD finish packet.

#include <cstdint>
#include <string>

#include "station/data/station_state.h"
#include "station/link/firmware_file.h"

namespace zek {

inline constexpr uint8_t kStateUpgrading = 160;
inline constexpr size_t kFirmwareBlockBytes = 2048;  // image bytes a block covers
inline constexpr uint16_t kFirmwareBlockPacketLength = 4136;  // before the check

// Starts the upgrade of the slot's unit: busy, state 160, block 0 sent.
// Does nothing when FirmwareOK is 0.
void StartFirmwareUpgrade(StationState& st, uint8_t slot);
// The reply handler of state 160: 6 sends the next block, or the finish
// packet after the last; anything else ends the upgrade failed.
void HandleUpgradeReply(StationState& st, uint8_t status, uint8_t slot);
// Build and send the two packets in PortPacketBuf[slot]; false when
// nothing was sent.
bool SendFirmwareBlock(StationState& st, uint16_t block, uint8_t slot);
bool SendUpgradeFinish(StationState& st, uint8_t slot);
// The logic of the menu command FirmWareGradeX: upgrades every identified
// unit, in whichever slot it was found, with the firmware file loaded at
// start-up; refused with the busy line while any unit works.
void FirmWareGradeXClick(StationState& st);

}  // namespace zek
