#pragma once
// The programmer firmware file and the upgrade of a unit's firmware.

#include <cstdint>
#include <string>

#include "station/data/station_state.h"

namespace zek {

void LoadFirmwareFile(StationState& st, const std::string& path);
// Does nothing when FirmwareOK is 0.
void StartFirmwareUpgrade(StationState& st, uint8_t slot);
// The reply handler of state 160.
void HandleUpgradeReply(StationState& st, uint8_t status, uint8_t slot);
bool SendFirmwareBlock(StationState& st, uint16_t block, uint8_t slot);
bool SendUpgradeFinish(StationState& st, uint8_t slot);
// The logic of the menu command FirmWareGradeX.
void FirmWareGradeXClick(StationState& st);

}  // namespace zek
