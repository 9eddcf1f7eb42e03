#include "station/data/settings_controls.h"

#include "station/data/errors.h"
#include "station/data/format.h"

namespace zek {
namespace {

constexpr uint8_t kSNOn = 0x01;
constexpr uint8_t kSNBigEndian = 0x02;
constexpr uint8_t kSNString = 0x04;
constexpr uint8_t kSNDecimal = 0x10;
constexpr uint8_t kSNAtEep = 0x40;
constexpr uint8_t kNumberLimitOn = 0x80;

bool Bit(uint8_t value, uint8_t mask) { return (value & mask) != 0; }

}  // namespace

SettingsControls LoadSettingsControls(const ProgrammerSettings& s) {
  SettingsControls c;
  c.CheckBoxCtrl = Bit(s.SNFlags, kNumberLimitOn);
  c.CheckBoxSN = Bit(s.SNFlags, kSNOn);
  c.ChkBoxStrSN = Bit(s.SNFlags, kSNString);
  c.SNOrderChk = Bit(s.SNFlags, kSNBigEndian);
  c.ChkBoxSNDP = Bit(s.SNFlags, kSNDecimal);
  c.ChkBoxPCSN = false;
  c.SNEdit = Format(c.ChkBoxSNDP ? "%d" : "0x%0.8x", {s.SNValue});
  c.GainEdit = Format("0x%0.2x", {s.SNGain});
  c.AddrEdit = Format("0x%0.8x", {s.SNAddress});
  c.SpinEditNum = s.NumberLimit;
  c.ChkBoxStrChip = Bit(s.CtrlFlags3, 0x02);
  c.CheckBoxRst = Bit(s.CtrlFlags3, 0x04);
  c.ChkBoxShutPow = !Bit(s.CtrlFlags3, 0x01);
  c.ChkBoxMute = Bit(s.CtrlFlags, 0x80);
  c.CheckBoxAut = Bit(s.AutoDetectFlags, 0x07);
  c.SpinEditIn = s.ChipInTime * 30;
  c.SpinEditOut = s.ChipOutTime * 30;
  c.SpinEditPwr = s.PowerOnTime * 10;
  c.SpinEditDS = s.OkNgDelay * 30;
  return c;
}

void StoreControlSettings(ProgrammerSettings& s, const SettingsControls& c) {
  // The edits' ranges keep every quotient within a byte.
  s.PowerOnTime = static_cast<uint8_t>(c.SpinEditPwr / 10);
  s.ChipInTime = static_cast<uint8_t>(c.SpinEditIn / 30);
  s.ChipOutTime = static_cast<uint8_t>(c.SpinEditOut / 30);
  s.OkNgDelay = static_cast<uint8_t>(c.SpinEditDS / 30);
  s.AutoDetectFlags = c.CheckBoxAut ? s.AutoDetectFlags | 0x07 : s.AutoDetectFlags & 0xF0;
  s.CtrlFlags &= 0x6F;
  if (c.ChkBoxMute) s.CtrlFlags |= 0x80;
  if (c.ChkBoxDLSI) s.CtrlFlags |= 0x10;
  s.CtrlFlags3 &= 0xF0;
  if (!c.ChkBoxShutPow) s.CtrlFlags3 |= 0x01;
  if (c.ChkBoxStrChip) s.CtrlFlags3 |= 0x02;
  if (c.CheckBoxRst) s.CtrlFlags3 |= 0x04;
  s.CtrlFlags2 = s.CtrlFlags4 = s.CtrlFlags5 = s.CtrlFlags6 = 0;
  s.NumberLimit = c.CheckBoxCtrl ? c.SpinEditNum : -1;
  s.SNFlags = c.CheckBoxCtrl ? s.SNFlags | kNumberLimitOn : s.SNFlags & ~kNumberLimitOn;
}

std::vector<std::string> StoreSNControls(ProgrammerSettings& s, const SettingsControls& c,
                                         uint32_t eep_start_address) {
  s.SNLength = 4;
  s.SNFlags &= kNumberLimitOn;
  s.SNGain = static_cast<uint16_t>(StrToInt(c.GainEdit));
  if (!c.CheckBoxSN) {
    s.SNValue = 0;
    s.SNAddress = -1;
    return {"> Serial No function is not used!"};
  }
  s.SNFlags |= kSNOn;
  if (c.ChkBoxStrSN) {
    s.SNFlags |= kSNString;
  } else if (c.SNOrderChk) {
    s.SNFlags |= kSNBigEndian;
  } else if (c.ChkBoxSNDP) {
    s.SNFlags |= kSNDecimal;
  }
  s.SNValue = StrToInt(c.SNEdit);
  s.SNAddress = StrToInt(c.AddrEdit);
  if (static_cast<uint32_t>(s.SNAddress) >= eep_start_address) s.SNFlags |= kSNAtEep;
  return {"> Serial No. function is used : ",
          Format("> SN Address is 0x%0.6x,Current SN is 0x%0.8x.", {s.SNAddress, s.SNValue})};
}

std::vector<std::string> SetupSummaryLines(const SettingsControls& c, int32_t number_limit,
                                           const SetupSummaryTexts& t) {
  std::vector<std::string> lines{t.Title};
  lines.push_back(c.CheckBoxCtrl ? Format(t.NumberControl, {number_limit}) : t.NoNumberControl);
  if (c.CheckBoxSN) {
    lines.push_back(t.SNUsed + c.SNEdit + t.SNAddress + c.AddrEdit + t.SNGain + c.GainEdit);
    lines.push_back((c.ChkBoxStrSN ? t.SNString : t.SNBinary) + (c.SNOrderChk ? t.SNBigEndian : t.SNLittleEndian) +
                    (c.ChkBoxPCSN ? t.SNOnline : t.SNOffline));
  } else {
    lines.push_back(t.SNDisabled);
  }
  lines.push_back(c.CheckBoxAut ? t.AutoDetectOn : t.AutoDetectOff);
  lines.push_back(c.ChkBoxShutPow ? t.ShutPower : t.OutPower);
  lines.push_back((c.CheckBoxRst ? t.LockReset : t.ReleaseReset) + (c.ChkBoxStrChip ? t.RunChip : t.NotRunChip));
  lines.push_back(c.ChkBoxMute ? t.ShutBeeper : t.EnableBeeper);
  lines.push_back(t.PowerOnTime + Format("%dms", {c.SpinEditPwr}));
  return lines;
}

std::string SNTextForBase(const std::string& text, bool decimal) {
  const uint32_t low = static_cast<uint32_t>(StrToInt64(text));
  return Format(decimal ? "%u" : "0x%0.8x", {low});
}

}  // namespace zek
