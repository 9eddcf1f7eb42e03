#pragma once
// The start and end of an operation on a port, and the words for a
// unit's result codes.

#include <cstdint>
#include <string>

#include "station/data/station_state.h"

namespace zek {

// Marks the port busy and starts its gauge: by blocks (time-out 500 ticks,
// progress 1 of FlashSizeKB) or by time (time-out and maximum `ticks`,
// progress ticks / 10).
void StartProgress(StationState& st, uint16_t ticks, bool by_blocks, int port);

// Ends the operation: not busy, idle, first tab shown, full gauge in red
// when failed, else blue.
void EndProgress(StationState& st, bool failed, int port);

// 0 and 6 both mean success to every handler.
inline bool Succeeded(uint8_t code) { return code == 0 || code == 6; }

// The message of a result code.
std::string ResultMessage(uint8_t code);

// Beeps on success (0, 6) and logs the message as a port line, but only
// while the port is not idle.
void ReportResult(StationState& st, uint8_t code, int port);

// For an operation that ends failed with `code`: as ReportResult, except
// that a success code (0, 6) reads "Operation error! Error Code = 0x%0.2x"
// and does not beep, so a failure never looks like a success.
void ReportFailure(StationState& st, uint8_t code, int port);

}  // namespace zek
