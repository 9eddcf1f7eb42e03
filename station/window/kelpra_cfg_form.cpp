#include "station/window/kelpra_cfg_form.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QShowEvent>

#include "station/window/error_handler.h"
#include "station/window/limited_edit.h"
#include "station/window/main_form.h"
#include "station/window/spin_edit.h"

namespace zek {

TKelpraCfgForm::TKelpraCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("KelpraCfgForm");
  setWindowTitle("Programmer Base Setting");
  BuildControls();
  SetCaptions();
  BindHandlers();
}

void TKelpraCfgForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}

void TKelpraCfgForm::FormShow() {
  SetCaptions();
  const SettingsControls c = LoadSettingsControls(st_.Settings);
  // Loading runs the boxes' actions; the order decides where they meet
  // (the reset box is loaded after the run-chip box that may clear it).
  loading_ = true;
  CheckBoxCtrl->setChecked(c.CheckBoxCtrl);
  CheckBoxSN->setChecked(c.CheckBoxSN);
  ChkBoxStrSN->setChecked(c.ChkBoxStrSN);
  SNOrderChk->setChecked(c.SNOrderChk);
  ChkBoxSNDP->setChecked(c.ChkBoxSNDP);
  ChkBoxPCSN->setChecked(c.ChkBoxPCSN);
  loading_ = false;
  SNEdit->SetText(QString::fromStdString(c.SNEdit));
  GainEdit->SetText(QString::fromStdString(c.GainEdit));
  AddrEdit->SetText(QString::fromStdString(c.AddrEdit));
  SpinEditNum->SetValue(c.SpinEditNum);
  ChkBoxStrChip->setChecked(c.ChkBoxStrChip);
  CheckBoxRst->setChecked(c.CheckBoxRst);
  ChkBoxShutPow->setChecked(c.ChkBoxShutPow);
  ChkBoxMute->setChecked(c.ChkBoxMute);
  CheckBoxAut->setChecked(c.CheckBoxAut);
  SpinEditIn->SetValue(c.SpinEditIn);
  SpinEditOut->SetValue(c.SpinEditOut);
  SpinEditPwr->SetValue(c.SpinEditPwr);
  SpinEditDS->SetValue(c.SpinEditDS);
}

SettingsControls TKelpraCfgForm::Controls() const {
  SettingsControls c;
  c.CheckBoxSN = CheckBoxSN->isChecked();
  c.ChkBoxStrSN = ChkBoxStrSN->isChecked();
  c.SNOrderChk = SNOrderChk->isChecked();
  c.ChkBoxSNDP = ChkBoxSNDP->isChecked();
  c.ChkBoxPCSN = ChkBoxPCSN->isChecked();
  c.SNEdit = SNEdit->text().toStdString();
  c.GainEdit = GainEdit->text().toStdString();
  c.AddrEdit = AddrEdit->text().toStdString();
  c.CheckBoxCtrl = CheckBoxCtrl->isChecked();
  c.SpinEditNum = SpinEditNum->Value();
  c.SpinEditPwr = SpinEditPwr->Value();
  c.ChkBoxStrChip = ChkBoxStrChip->isChecked();
  c.ChkBoxShutPow = ChkBoxShutPow->isChecked();
  c.CheckBoxRst = CheckBoxRst->isChecked();
  c.ChkBoxMute = ChkBoxMute->isChecked();
  c.ChkBoxDLSI = ChkBoxDLSI->isChecked();
  c.SpinEditDS = SpinEditDS->Value();
  c.CheckBoxAut = CheckBoxAut->isChecked();
  c.SpinEditIn = SpinEditIn->Value();
  c.SpinEditOut = SpinEditOut->Value();
  return c;
}

void TKelpraCfgForm::BitBtn2Click() {
  const SettingsControls c = Controls();
  StoreControlSettings(st_.Settings, c);
  StoreSNSettings();
  main_.SetCfgInfoLines(SetupSummaryLines(c, st_.Settings.NumberLimit, SummaryTexts()));
}

void TKelpraCfgForm::ShowSettingsSummary() {
  FormShow();
  main_.SetCfgInfoLines(SetupSummaryLines(Controls(), st_.Settings.NumberLimit, SummaryTexts()));
}

void TKelpraCfgForm::StoreSNSettings() {
  for (const std::string& line : StoreSNControls(st_.Settings, Controls(), st_.EepStartAddress))
    main_.Memo().AppendLine(line);
}

void TKelpraCfgForm::CheckBoxSNClick() {
  const bool on = CheckBoxSN->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{SNEdit, GainEdit, AddrEdit, ChkBoxStrSN, SNOrderChk, ChkBoxSNDP,
                                                    ChkBoxPCSN})
    w->setEnabled(on);
}

void TKelpraCfgForm::ChkBoxSNDPClick() {
  // While a show loads the boxes the S/N text is about to be replaced, so
  // an old text that is no number must not stop the loading.
  if (loading_) return;
  SNEdit->SetText(QString::fromStdString(SNTextForBase(SNEdit->text().toStdString(), ChkBoxSNDP->isChecked())));
}

void TKelpraCfgForm::CheckBoxAutClick() {
  SpinEditIn->setEnabled(CheckBoxAut->isChecked());
  SpinEditOut->setEnabled(CheckBoxAut->isChecked());
}

void TKelpraCfgForm::CheckBoxCtrlClick() { SpinEditNum->setEnabled(CheckBoxCtrl->isChecked()); }

void TKelpraCfgForm::ChkBoxStrChipClick() {
  if (ChkBoxStrChip->isChecked()) CheckBoxRst->setChecked(false);
}

}  // namespace zek
