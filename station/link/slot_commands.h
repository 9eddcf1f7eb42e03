#pragma once
// The operator's commands on the port slots: which slots take a command,
// and what each command does on them. Guards, the empty line and the
// control-setting refresh before a command belong to the window. Main
// thread only; every function returns once the first packets are sent.

#include <string>

#include "station/data/station_state.h"

namespace zek {

// Slot below PortSlotCount, unit identified and idle.
bool SlotEligible(const StationState& st, int slot);

// A command started on every eligible slot, in ascending order.
struct SlotCommand {
  void (*Start)(StationState& st, int port);
  // -1 leaves TimeGauge alone; 0 or 1 is set before the first slot.
  int TimeGauge = -1;
  // Format of a time-stamped line per slot before its start ("%d" is the
  // slot + 1), or null.
  const char* SlotLine = nullptr;
};

// Per eligible slot: PortRxLen := 0, PortAutoSeq := 0, the slot's line,
// the start. Logs "Please connect the device first!" when no slot was
// started. Returns the number of slots started.
int StartOnEligibleSlots(StationState& st, const SlotCommand& command);

// The automatic sequence (blank check, erase, program, verify): per
// eligible slot PortAutoSeq := 1 (pending receive bytes kept), its line and
// the blank check.
int StartAutoSequence(StationState& st);

// The download on every eligible slot; logs nothing when there is none.
int StartDownloadOnEligibleSlots(StationState& st);

// Chip ID, information block and option data reads: state 35, 37 or 39,
// the slot's line, timed progress of 200 ticks and the 0x93 sub-command.
void StartReadChipID(StationState& st, int port);
void StartReadChipInfo(StationState& st, int port);
void StartReadChipOption(StationState& st, int port);

// Changes to the images, the chip or the settings are refused while any
// slot is busy: running chains read them for every packet. The line that
// refuses, naming the first busy unit, or empty when every slot is idle.
std::string BusyRefusal(const StationState& st);

// The read-back of chip memory and EEPROM data works on slot 0 alone, which
// must be connected and idle; a running operation there is never cut off.
// The line that refuses it, or empty when slot 0 may start.
std::string ReadBackRefusal(const StationState& st);
// Main memory: an empty line, the start line, state 32, block progress and
// the first 0x9B request.
void StartReadMainBack(StationState& st);
// EEPROM data, in two halves around the control-setting refresh: the
// slot's state and lines first, then progress and the 0x9C request.
void BeginReadEepBack(StationState& st);
void SendReadEepBack(StationState& st);

// Sends the off-line reset (0x8A) to every connected slot below
// PortSlotCount, busy or not; no line and no state change.
void ResetConnectedUnits(StationState& st);

}  // namespace zek
