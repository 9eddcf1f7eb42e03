#pragma once
// The link layer's texts that differ between the English and the Chinese
// edition. The window points StationState::LinkText at texts taken from
// its edition's table; a station made without a window speaks English.

namespace zek {

struct LinkTexts {
  // Format with the slot number (slot + 1).
  const char* UpgradeStarted = "Start to Upgrade Programmer %ds Firmware......";
  const char* UpgradeCompleted = "Programmer %ds Firmware Fpgrade Completed!";
  // The missing firmware file's message: these two around its path.
  const char* FileMissingBefore = "File \"";
  const char* FileMissingAfter = "\"Not Found, Please Confirm!";
};

inline constexpr LinkTexts kEnglishLinkTexts{};


}  // namespace zek
