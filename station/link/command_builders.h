#pragma once
// Builders of the chip-operation commands. Each writes its packet into
// PortPacketBuf[port], sends it at once through SendPacket and returns
// SendPacket's answer; none waits for the reply. Header: code, 16-bit
// parameter, FamilyCode, ChipClassCode, ChipIndex, data length (bytes 6-7).

#include <cstdint>

#include "station/data/station_state.h"

namespace zek {

inline constexpr uint16_t kBlockBytes = 4096;  // one block packet: 4 KiB

// Writes the common header into PortPacketBuf[port].
void PutCommandHeader(StationState& st, uint8_t code, uint16_t parameter, uint16_t data_length, int port);

// Copies MainBuffer[base + index x 1024 ..] (4096 bytes) to dest; bytes past
// the end of MainBuffer are sent as 0xFF, the erased value.
void CopyMainBlock(const StationState& st, uint32_t base, uint16_t index, uint8_t* dest);

// 0x55: the main-image block at base + index x 1024 (4104 bytes + check).
bool SendFlashBlock(StationState& st, uint8_t code, uint16_t index, uint32_t base, int port);
// 0x5A: EepBuffer[0 .. 4095] (4104 bytes + check).
bool SendEEPBlock(StationState& st, int port);
// 0x95: settings, then the main-image block at the port's own
// PortBlockIndex (4168 bytes + check).
bool SendProgramBlock(StationState& st, uint8_t code, uint32_t base, int port);
// 0x96: settings, then EepBuffer[0 .. 4095] (4168 bytes + check).
bool SendEEPProgram(StationState& st, int port);
// 0x93 sub-commands, 0x9B read-out blocks, 0x9C EEPROM read: settings only
// (72 bytes + check).
bool SendSettingsOnly(StationState& st, uint8_t code, uint16_t parameter, int port);
// 0x93/0x53 option write: settings, then OptionBuffer[0 .. 1023]
// (1096 bytes + check).
bool SendOptionBlock(StationState& st, uint8_t code, uint16_t parameter, int port);
// 0x8A, 0x86: "RESET" header without chip descriptor, two zero data bytes
// (10 bytes + check).
bool SendResetCommand(StationState& st, uint8_t code, int port);

}  // namespace zek
