#pragma once
// The operation state codes of a port slot (PortState). A step sets its
// code when it starts; a reply is dispatched on it. kStateIdle (80) is in
// station_state.h.

#include <cstdint>

namespace zek {

inline constexpr uint8_t kStateDownloadStart = 0;  // configuration image
inline constexpr uint8_t kStateDownloadMain = 5;
inline constexpr uint8_t kStateDownloadEEP = 10;
inline constexpr uint8_t kStateBlankCheck = 19;
inline constexpr uint8_t kStateErase = 21;
inline constexpr uint8_t kStateProgram = 22;
inline constexpr uint8_t kStateVerifyMain = 26;
inline constexpr uint8_t kStateProtect = 29;  // protection data or option data
inline constexpr uint8_t kStateReadOut = 32;
inline constexpr uint8_t kStateReadChipID = 35;
inline constexpr uint8_t kStateReadChipInfo = 37;
inline constexpr uint8_t kStateReadChipOption = 39;
inline constexpr uint8_t kStateWriteOTP = 51;
inline constexpr uint8_t kStateReadEEP = 53;
inline constexpr uint8_t kStateVerifyEEP = 58;
inline constexpr uint8_t kStateUpgrade = 160;

}  // namespace zek
