#pragma once

#include <cstdint>

namespace zek {

// The station's fixed key K for the download's configuration image: each
// download sends a random word w and scrambles with w ^ K. The simulated
// unit includes this header, so station and unit always agree.
inline constexpr uint16_t kConfigScrambleKey = 0x6B3D;

}  // namespace zek
