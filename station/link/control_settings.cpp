#include "station/link/control_settings.h"

#include <algorithm>

#include "station/data/format.h"

namespace zek {
namespace {

constexpr int kSpeedItems = 8;
constexpr uint32_t kPageMask = ~uint32_t{0xFFF};
constexpr size_t kMergedEepBytes = 1024;

void SetBit(uint8_t& flags, int bit, bool on) {
  const auto mask = static_cast<uint8_t>(1u << bit);
  flags = static_cast<uint8_t>(on ? (flags | mask) : (flags & ~mask));
}

bool Bit(uint8_t flags, int bit) { return (flags >> bit) & 1u; }

bool EepMergePending(const StationState& st) { return st.ChipClassCode <= 0x40 && st.EepEdited == 1; }

// Returns whether anything was copied.
bool MergeEditedEep(StationState& st) {
  const bool edited = EepMergePending(st);
  st.EepEdited = 0;
  if (!edited) return false;
  const uint64_t at = st.ChipEndAddress & kPageMask;
  // An unset or damaged chip range must not send the copy past the image.
  if (at + kMergedEepBytes > st.MainBuffer.size()) return false;
  std::copy_n(st.EepBuffer.data(), kMergedEepBytes, st.MainBuffer.data() + at);
  return true;
}

// The bits the chip-setup controls own; every other bit keeps its value.
void SetControlBits(ProgrammerSettings& s, uint8_t class_code, const ControlStates& c) {
  const int speed = std::clamp(c.SpeedIndex, 0, kSpeedItems - 1);
  s.SclkSetting = static_cast<uint8_t>(class_code < 0x40 ? speed * 10 : speed * 5 + 5);
  // A group without a selection never picks the higher voltage.
  SetBit(s.CtrlFlags, 2, c.VoltageIndex == 1);
  SetBit(s.CtrlFlags2, 2, speed != 0);
  if (IsBS32Class(class_code)) {
    s.CtrlFlags2 &= 0x0F;
    SetBit(s.CtrlFlags4, 5, c.WriteInfo);
  } else {
    SetBit(s.CtrlFlags2, 4, c.EraseEep);
    SetBit(s.CtrlFlags2, 5, c.EraseInfo);
    SetBit(s.CtrlFlags2, 6, c.WriteEep);
    SetBit(s.CtrlFlags2, 7, c.WriteInfo);
  }
  SetBit(s.CtrlFlags3, 7, !c.FlashBoot);
  SetBit(s.CtrlFlags3, 4, class_code == 0x90);
  SetBit(s.CtrlFlags2, 3, c.ProgramModeIndex != 0);
}

uint8_t EepStepsFor(const ProgrammerSettings& s) { return (s.CtrlFlags2 & 0xF0) != 0 ? 1 : 0; }

}  // namespace

ControlSettingsOutcome ApplyControlSettings(StationState& st, const ControlStates& c) {
  SetControlBits(st.Settings, st.ChipClassCode, c);
  st.EepStepsEnabled = EepStepsFor(st.Settings);

  ControlSettingsOutcome outcome;
  outcome.MainSumsStale = MergeEditedEep(st);
  outcome.Line = ControlSettingLine(st);
  return outcome;
}

bool ControlSettingsWouldChange(const StationState& st, const ControlStates& c) {
  ProgrammerSettings s = st.Settings;
  SetControlBits(s, st.ChipClassCode, c);
  const ProgrammerSettings& now = st.Settings;
  return s.SclkSetting != now.SclkSetting || s.CtrlFlags != now.CtrlFlags || s.CtrlFlags2 != now.CtrlFlags2 ||
         s.CtrlFlags3 != now.CtrlFlags3 || s.CtrlFlags4 != now.CtrlFlags4 ||
         EepStepsFor(s) != st.EepStepsEnabled || EepMergePending(st);
}

std::string ControlSettingLine(const StationState& st) {
  const ProgrammerSettings& s = st.Settings;
  return Format("> Control Setting(Hex): %0.2x,%0.2x,%0.4x,%0.4x,",
                {st.ChipClassCode, st.ChipIndex, st.FlashSizeKB, st.EepSize}) +
         Format("%0.2x,%0.2x,%0.2x,%0.2x,", {s.CtrlFlags, s.CtrlFlags2, s.CtrlFlags3, s.CtrlFlags4}) +
         Format("%0.2x,%0.2x,%0.4x,%0.4x.", {s.CtrlFlags5, s.CtrlFlags6, st.PageSize, st.InfoSize});
}

int ClockItemForSetting(uint8_t class_code, uint8_t sclk_setting) {
  if (class_code >= 0x40) return std::clamp(sclk_setting / 5 - 5, 0, kSpeedItems - 1);
  static constexpr uint8_t kSettings[] = {0, 1, 3, 7, 15, 31, 63};
  const auto* found = std::find(std::begin(kSettings), std::end(kSettings), sclk_setting);
  return static_cast<int>(found - std::begin(kSettings));
}

ProjectControls ControlsFromProject(const StationState& st) {
  const ProgrammerSettings& s = st.Settings;
  ProjectControls p;
  p.SpeedItem = ClockItemForSetting(st.ChipClassCode, s.SclkSetting);
  p.VoltageItem = Bit(s.CtrlFlags, 2) ? 1 : 0;
  if (IsBS32Class(st.ChipClassCode)) {
    p.WriteInfo = Bit(s.CtrlFlags4, 5);
  } else {
    p.EraseEep = Bit(s.CtrlFlags2, 4);
    p.EraseInfo = Bit(s.CtrlFlags2, 5);
    p.WriteEep = Bit(s.CtrlFlags2, 6);
    p.WriteInfo = Bit(s.CtrlFlags2, 7);
  }
  p.FlashBoot = !Bit(s.CtrlFlags3, 7);
  return p;
}

}  // namespace zek
