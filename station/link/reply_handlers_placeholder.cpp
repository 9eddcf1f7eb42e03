// Stand-ins for the reply-side handlers until their own files land.
#include "station/link/chip_info_display.h"
#include "station/link/firmware_upgrade.h"
#include "station/link/info_packet.h"
#include "station/link/progress.h"

namespace zek {

void HandleInfoPacket(StationState&, uint8_t) {}
void ShowChipUID(StationState& st, uint8_t status, int port) { EndProgress(st, status != 0 && status != 6, port); }
void ShowChipInfo(StationState& st, uint8_t status, int port) { EndProgress(st, status != 0 && status != 6, port); }
void ShowChipInfoData(StationState& st, std::span<const uint8_t>, uint8_t status, int port) {
  EndProgress(st, status != 0 && status != 6, port);
}
void ShowOptionBytes(StationState& st, uint8_t status, int port) { EndProgress(st, status != 0 && status != 6, port); }
void HandleUpgradeReply(StationState& st, uint8_t status, uint8_t slot) { EndProgress(st, status != 6, slot); }

}  // namespace zek
