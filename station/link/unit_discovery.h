#pragma once
// Finding the programmer unit behind each listed port by its identity.

#include <cstdint>
#include <span>
#include <string>

#include "station/data/station_state.h"

namespace zek {

inline constexpr int kIdentityTextOffset = 20;
inline constexpr char kFullIdentity[] = "DorvikLumqo-ZEK";
inline constexpr char kGenericIdentity[] = "DorvikLumqo";

inline constexpr int kIdentityAccepted = 0;
inline constexpr int kIdentityOlderFirmware = 3;
inline constexpr int kIdentityNotAReply = 15;
inline constexpr int kIdentityTextMismatch = 31;

// Sends the raw identity query C0 A3 A5 35 C0 FF FF FF FF FF.
bool SendIdentityQuery(StationState& st, int port);

// Checks an identity reply against the expected text; on success the reply
// text replaces `expected`. 0 accepted, 3 firmware older than
// FirmwareVersion, 15 not an identity reply, else the text comparison's
// non-zero value.
int CheckIdentityReply(const StationState& st, std::span<const uint8_t> packet, std::string& expected,
                       int text_offset = kIdentityTextOffset);

// Checks the generic identity of a unit that takes a firmware upgrade:
// 0 accepted (reply text into `expected`), 15 not such a reply, 31 mismatch.
int CheckTextReply(std::span<const uint8_t> packet, std::string& expected, int text_offset = kIdentityTextOffset);

// A frame cut on a port whose unit is not identified yet. Only the decoded
// bytes are examined; PortPacketLen[port] records their count.
void HandleIdentityReply(StationState& st, uint16_t frame_count, int port);

// The logic of "Fresh Device" up to the gauge layout, which the window does:
// closes every open slot, whatever PortSlotCount says, clears the list and
// reloads it.
void BitBtnFreshClick(StationState& st);

// "Find Device": opens every listed port (at most ten) and queries it.
// Every slot is reset and closed first. A port that cannot be opened shows
// the serial component's error in a plain box, and the search goes on.
void BitBtnFindCOMClick(StationState& st);

}  // namespace zek
