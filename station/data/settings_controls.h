#pragma once
// The programmer settings dialog's controls as plain values, and the rules
// between them and the programmer settings: what a show loads, what OK
// stores, the S/N report lines and the setup summary. Fields carry the
// names of the controls they stand for.

#include <cstdint>
#include <string>
#include <vector>

#include "station/data/station_state.h"

namespace zek {

struct SettingsControls {
  bool CheckBoxSN = false;
  bool ChkBoxStrSN = false;
  bool SNOrderChk = false;
  bool ChkBoxSNDP = false;
  bool ChkBoxPCSN = false;
  std::string SNEdit = "0x00000000";
  std::string GainEdit = "0x01";
  std::string AddrEdit = "0x0000FFF0";
  bool CheckBoxCtrl = false;
  int32_t SpinEditNum = 0;
  int32_t SpinEditPwr = 100;  // ms
  bool ChkBoxStrChip = false;
  bool ChkBoxShutPow = true;
  bool CheckBoxRst = true;
  bool ChkBoxMute = false;
  bool ChkBoxDLSI = true;
  int32_t SpinEditDS = 2100;  // ms
  bool CheckBoxAut = true;
  int32_t SpinEditIn = 500;   // ms
  int32_t SpinEditOut = 500;  // ms
};

// What a show loads from the settings. ChkBoxDLSI is not loaded (it keeps
// the dialog's own state) and ChkBoxPCSN always starts unchecked; the
// times are stored units times their step, before the edits' ranges apply.
SettingsControls LoadSettingsControls(const ProgrammerSettings& s);

// OK's stores before the S/N: times, auto detect, control bytes, number
// limit and its SNFlags bit.
void StoreControlSettings(ProgrammerSettings& s, const SettingsControls& c);

// OK's S/N store, field by field in order: a text that is not a 32-bit
// integer raises ConvertError and leaves what was stored before it.
// Returns the lines for the information log.
std::vector<std::string> StoreSNControls(ProgrammerSettings& s, const SettingsControls& c,
                                         uint32_t eep_start_address);

// The edition's pieces of the setup summary.
struct SetupSummaryTexts {
  std::string Title, NoNumberControl, NumberControl;  // NumberControl takes %d
  std::string SNUsed, SNAddress, SNGain, SNString, SNBinary, SNBigEndian, SNLittleEndian;
  std::string SNOnline, SNOffline, SNDisabled;
  std::string AutoDetectOn, AutoDetectOff, ShutPower, OutPower;
  std::string LockReset, ReleaseReset, RunChip, NotRunChip;
  std::string ShutBeeper, EnableBeeper, PowerOnTime;
};

// The summary after OK: control states and texts as they stand, the stored
// number limit.
std::vector<std::string> SetupSummaryLines(const SettingsControls& c, int32_t number_limit,
                                           const SetupSummaryTexts& t);

// The S/N text rewritten for the display base: read as a 64-bit integer,
// its low 32 bits shown unsigned decimal or as eight hexadecimal digits.
// ConvertError when the text is no number.
std::string SNTextForBase(const std::string& text, bool decimal);

}  // namespace zek
