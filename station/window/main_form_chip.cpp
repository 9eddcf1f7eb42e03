// Chip selection and the chip-dependent set-up of the window.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "station/data/chip_memory_map.h"
#include "station/data/chip_window_setup.h"
#include "station/data/format.h"
#include "station/data/option_block.h"
#include "station/window/chip_select_form.h"
#include "station/window/dialogs.h"
#include "station/window/main_form.h"

namespace zek {

void TProgramZEKFrm::DevButtonClick() {
  if (!IdleGuard()) return;
  const bool accepted = Runner().Run(*dialogs_.ChipSelectForm) == QDialog::Accepted;
  if (!st_.ChipSelected) return;
  // After Cancel the option bytes the operator set (or a project brought)
  // stay as they were.
  if (!accepted) {
    SetMemoryRanges(st_);
    MCUNameEdit->setText(QString::fromStdString(st_.ChipName));
    return;
  }
  SetMemoryMap(st_);
  ShowChipName();
}

// The name box sends no change for the name it already shows, yet a chip
// committed or loaded again brings fresh images and option bytes, which
// the set-up's state (the pending EEP edit, the option-data boxes) must
// follow.
void TProgramZEKFrm::ShowChipName() {
  const QString name = QString::fromStdString(st_.ChipName);
  if (MCUNameEdit->text() == name) {
    MCUNameEditChange();
  } else {
    MCUNameEdit->setText(name);
  }
}

void TProgramZEKFrm::MCUNameEditChange() {
  st_.EepEdited = 0;
  st_.ChipSelected = 1;
  const bool has_eep = st_.EepSize > 0;
  for (QCheckBox* box : {ChkBoxPrgInf, ChkBoxErsInf}) {
    box->setEnabled(false);
    box->setChecked(false);
  }
  // A hidden EEP box must not keep asking for EEP steps the operator cannot
  // see, on a chip that has no EEP. Only the 0x90 row disables them, for
  // that chip alone.
  for (QCheckBox* box : {ChkBoxErsEE, ChkBoxPrgEE}) {
    box->setEnabled(true);
    box->setVisible(has_eep);
    if (!has_eep) box->setChecked(false);
  }
  ButtonCFG->setVisible(false);
  ChkBoxErsInf->setText(QString::fromUtf8(tx_[Tx::ChkBoxErsInf]));
  ChkBoxPrgInf->setText(QString::fromUtf8(tx_[Tx::ChkBoxPrgInf]));
  ReadChipOption1->setVisible(false);
  WriteChipOption1->setVisible(false);
  LabelSCKSEL->setVisible(true);
  ComBoxSpdCLK->setVisible(true);

  AddInfoLine(Format("Chip \"%S\" is selectd", {MCUNameEdit->text().toStdString()}));
  if (st_.ChipClassCode == 0x40) st_.Views.Boxes->Plain(tx_.S(Tx::BoardNote));
  ApplyChipClassRow(ChipSetupFor(st_.ChipClassCode));

  WriteChipEepData1->setVisible(has_eep);
  ReadChipEepData1->setVisible(has_eep);
  ViewPageCtrl->setTabVisible(ViewPageCtrl->indexOf(TabSheetEep), has_eep);
  ReadChipInfoMemory1->setVisible(st_.InfoSize > 0);

  AddInfoLine(ChipSizeLine(st_.ChipClassCode, st_.FlashSizeKB, st_.EepSize));
  if (ShowsOptionDump(st_.ChipClassCode)) ShowOptionDump(st_);
}

// Controls a row does not name keep what an earlier step or chip gave them.
void TProgramZEKFrm::ApplyChipClassRow(const ChipSetupRow& row) {
  SpdBtnErase->move(row.EraseLeft, SpdBtnErase->y());
  SpdBtnVerify->move(row.VerifyLeft, SpdBtnVerify->y());
  AutoSpdBtn->move(row.AutoLeft, AutoSpdBtn->y());
  ComBoxSpdCLK->setCurrentIndex(row.SpeedIndex);
  for (QToolButton* button : {SpeedButtonRD, SpdBtnErase, SpdBtnProg}) button->setVisible(row.ChipButtonsShown);

  const bool has_eep = st_.EepSize > 0;
  switch (row.Kind) {
    case ChipSetupKind::NvrParts:
      ChkBoxErsEE->setEnabled(has_eep);
      ChkBoxPrgEE->setEnabled(has_eep);
      break;
    case ChipSetupKind::OptionMenus:
      ReadChipOption1->setVisible(true);
      WriteChipOption1->setVisible(true);
      break;
    case ChipSetupKind::InfoBlock:
      ChkBoxErsInf->setEnabled(true);
      ChkBoxPrgInf->setEnabled(true);
      break;
    case ChipSetupKind::OptionBytes:
      for (QCheckBox* box : {ChkBoxErsEE, ChkBoxPrgEE}) {
        box->setVisible(false);
        box->setChecked(false);
      }
      ButtonCFG->setVisible(true);
      ChkBoxErsInf->setVisible(true);
      ChkBoxPrgInf->setVisible(true);
      ChkBoxErsInf->setEnabled(false);
      ChkBoxPrgInf->setEnabled(true);
      ChkBoxErsInf->setText(QString::fromUtf8(tx_[Tx::EraseOptionData]));
      ChkBoxPrgInf->setText(QString::fromUtf8(tx_[Tx::WriteOptionData]));
      ReadChipOption1->setVisible(true);
      WriteChipOption1->setVisible(true);
      break;
  }
}

void TProgramZEKFrm::ButtonCFGClick() {
  if (!IdleGuard()) return;
  // Closing the dialog by its close box still re-decides the write.
  if (dialogs_.BS32xOptBytFrm != nullptr) runner_->Run(*dialogs_.BS32xOptBytFrm);
  ChkBoxPrgInf->setChecked(false);
  if (OptionBlockNeedsWrite(st_)) ChkBoxPrgInf->setChecked(true);
  ShowOptionDump(st_);
}

}  // namespace zek
