// Operation commands.

#include <QFrame>
#include <QToolButton>

#include "station/data/info_lines.h"
#include "station/link/operation_steps.h"
#include "station/link/slot_commands.h"
#include "station/window/main_form.h"

namespace zek {
namespace {

constexpr SlotCommand kBlankCheck{StartBlankCheck};
constexpr SlotCommand kErase{StartErase};
constexpr SlotCommand kProgram{StartProgram};
constexpr SlotCommand kVerifyMain{StartVerifyMain, 1};
constexpr SlotCommand kVerifyEEP{StartVerifyEEP, 1};
constexpr SlotCommand kWriteEEP{StartWriteOTP, 0, "Chip %d : Do Chip EEP Data Programming......"};
constexpr SlotCommand kProtect{StartProtect, 1};
constexpr SlotCommand kWriteOption{StartWriteOption, 1};
constexpr SlotCommand kReadChipID{StartReadChipID, 1};
constexpr SlotCommand kReadChipInfo{StartReadChipInfo, 1};
constexpr SlotCommand kReadChipOption{StartReadChipOption, 1};

}  // namespace

bool TProgramZEKFrm::FileGuard() {
  if (st_.FileLoaded != 0) return true;
  st_.Views.Boxes->Information("Please load object file!");
  return false;
}

bool TProgramZEKFrm::ChipGuard() {
  if (st_.ChipSelected != 0) return true;
  st_.Views.Boxes->Information("Please select the chip type!");
  return false;
}

void TProgramZEKFrm::RunSlotCommand(bool needs_file, const SlotCommand& command) {
  if (needs_file && !FileGuard()) return;
  if (!ChipGuard()) return;
  AddPlainLine(st_, "");
  CollectControlSettings();
  StartOnEligibleSlots(st_, command);
}

void TProgramZEKFrm::SpdBtnDownLoadClick() {
  if (!FileGuard() || !ChipGuard()) return;
  CollectControlSettings();
  StartDownloadOnEligibleSlots(st_);
}

void TProgramZEKFrm::AutoSpdBtnClick() {
  Panel1->setFocus();
  if (!FileGuard() || !ChipGuard()) return;
  CollectControlSettings();
  AddPlainLine(st_, ">--------------------------------------------");
  StartAutoSequence(st_);
}

void TProgramZEKFrm::SpdBtnBlankClick() { RunSlotCommand(false, kBlankCheck); }
void TProgramZEKFrm::SpdBtnEraseClick() { RunSlotCommand(false, kErase); }
void TProgramZEKFrm::SpdBtnProgClick() { RunSlotCommand(true, kProgram); }
void TProgramZEKFrm::SpdBtnVerifyClick() { RunSlotCommand(true, kVerifyMain); }
void TProgramZEKFrm::VerifyChipEEPData1Click() { RunSlotCommand(true, kVerifyEEP); }
void TProgramZEKFrm::ProtectChip1Click() { RunSlotCommand(false, kProtect); }
void TProgramZEKFrm::WriteChipOption1Click() { RunSlotCommand(false, kWriteOption); }
void TProgramZEKFrm::WriteChipEepData1Click() { RunSlotCommand(true, kWriteEEP); }
void TProgramZEKFrm::ReadChipIDInfo1Click() { RunSlotCommand(false, kReadChipID); }
void TProgramZEKFrm::ReadChipInfoMemory1Click() { RunSlotCommand(false, kReadChipInfo); }
void TProgramZEKFrm::ReadChipOption1Click() { RunSlotCommand(false, kReadChipOption); }

void TProgramZEKFrm::SpeedButtonRDClick() {
  if (!ChipGuard()) return;
  if (const std::string refusal = ReadBackRefusal(st_); !refusal.empty()) return AddInfoLine(refusal);
  CollectControlSettings();
  StartReadMainBack(st_);
}

void TProgramZEKFrm::ReadChipEepData1Click() {
  if (!ChipGuard()) return;
  if (const std::string refusal = ReadBackRefusal(st_); !refusal.empty()) return AddInfoLine(refusal);
  BeginReadEepBack(st_);
  CollectControlSettings();
  SendReadEepBack(st_);
}

void TProgramZEKFrm::ResetProg1Click() { ResetConnectedUnits(st_); }

void TProgramZEKFrm::FormKeyPress(char key) {
  if (key != ' ' && key != '\r') return;
  if (!AutoSpdBtn->isEnabled()) return;
  Panel1->setFocus();
  AutoSpdBtnClick();
}

}  // namespace zek
