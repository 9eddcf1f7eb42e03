#pragma once
// The programmer settings dialog: production options sent to the units.
// Showing it loads the controls from the settings; OK stores them, reports
// the S/N in InfoMemo and rewrites the main window's setup summary.

#include <QDialog>
#include <string>

#include "station/data/settings_controls.h"
#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zek {

class TProgramZEKFrm;
class SpinEdit;
class LimitedEdit;

class TKelpraCfgForm : public QDialog {
 public:
  TKelpraCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  // Handlers.
  void FormShow();
  void BitBtn2Click();
  void StoreSNSettings();
  void CheckBoxSNClick();
  void ChkBoxSNDPClick();
  void CheckBoxAutClick();
  void CheckBoxCtrlClick();
  void ChkBoxStrChipClick();

  // The controls as they stand, read the way OK reads them.
  SettingsControls Controls() const;
  // The setup summary of the stored settings, as showing the dialog and
  // confirming it at once would write it (settings the station took from
  // elsewhere, a project).
  void ShowSettingsSummary();

  // Controls, named as the station names them.
  QLabel *LabelSN, *LabelGN, *LabelSAD;
  LimitedEdit *SNEdit, *GainEdit, *AddrEdit;
  QCheckBox *CheckBoxSN, *ChkBoxStrSN, *SNOrderChk, *ChkBoxSNDP, *ChkBoxPCSN;
  QCheckBox* CheckBoxCtrl;
  SpinEdit* SpinEditNum;
  QLabel* LabelPWTM;
  SpinEdit* SpinEditPwr;
  QCheckBox *ChkBoxStrChip, *ChkBoxShutPow, *CheckBoxRst, *ChkBoxMute, *ChkBoxDLSI;
  SpinEdit* SpinEditDS;
  QLabel* LabelmsU;
  QGroupBox* GroupBoxCPD;
  QCheckBox* CheckBoxAut;
  QLabel* LabelTimIn;
  SpinEdit* SpinEditIn;
  QLabel* LabelTimOut;
  SpinEdit* SpinEditOut;
  QPushButton *BitBtn1, *BitBtn2;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Widgets, their stored-layout states and positions (kelpra_cfg_form_build.cpp).
  void BuildControls();
  void BindHandlers();
  void SetCaptions();
  SetupSummaryTexts SummaryTexts() const;

  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
  // Set while FormShow loads the controls.
  bool loading_ = false;
};

}  // namespace zek
