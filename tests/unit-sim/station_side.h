#pragma once
// The station's half of the line, written for the tests straight from the
// packet tables: commands, settings blocks, the configuration image and
// firmware blocks, framed and checked with the station's own framing code.
// A unit that talks to this talks to the station.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/unit-sim/sim_unit.h"

namespace zek::sim::testing {

using Bytes = std::vector<uint8_t>;

struct ChipSetup {
  uint8_t chip_class = 0x80;
  uint16_t flash_kb = 30;
  uint16_t eep_size = 0;
  uint16_t info_size = 512;
  uint32_t option_start = 0xFFFFFFFF;
  uint8_t ctrl2 = 0;  // CtrlFlags2: EEPROM erase/write bits
  uint8_t ctrl4 = 0;  // CtrlFlags4: option write bit
  uint16_t main_crc = 0, main_acc = 0, eep_crc = 0, eep_acc = 0;
};

// The sums the station sends for an image of flash_kb KiB and an EEPROM
// block, computed with the station's SumBytes and Check16.
void SetSums(ChipSetup& s, const Bytes& main, const Bytes& eep);

Bytes SettingsBlock(const ChipSetup& s);
// Header + data; the check is added by Frame.
Bytes Command(uint8_t code, uint16_t param, const Bytes& data, const ChipSetup& s);
Bytes SettingsOnly(uint8_t code, uint16_t param, const ChipSetup& s);
Bytes WithSettings(uint8_t code, uint16_t param, const ChipSetup& s, const Bytes& payload);
Bytes ConfigCommand(const ChipSetup& s, uint16_t word, const Bytes& options);
Bytes ResetCommand(uint8_t code);
// The 1536-byte image before scrambling.
Bytes ConfigImage(const ChipSetup& s, const Bytes& options);
// Stores both check/sum pairs of an image again, after a test changed it.
void SealConfigImage(Bytes& image);
Bytes FirmwareBlock(const Bytes& image, int block, uint16_t key, uint32_t mask_seed);
Bytes FirmwareFinish();

// Appends the check and frames the packet as the station sends it.
Bytes Frame(const Bytes& packet);
Bytes IdentityQuery();

// Decodes every frame of the unit's output with the station's decoder.
struct Reply {
  Bytes packet;
  uint8_t status = 0;  // CheckPacket's verdict
};
std::vector<Reply> DecodeReplies(const Bytes& output);

// Sends one framed packet and returns the decoded replies.
std::vector<Reply> Exchange(SimUnit& unit, const Bytes& packet);

// A whole download: configuration image, every main block, the EEPROM
// block when given, and the reset into off-line mode.
void Download(SimUnit& unit, const ChipSetup& s, const Bytes& main, const Bytes* eep = nullptr);

}  // namespace zek::sim::testing
