// The programmer settings dialog's widgets: stored-layout states, layout,
// captions and bindings.

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "station/window/error_handler.h"
#include "station/window/kelpra_cfg_form.h"
#include "station/window/spin_edit.h"
#include "station/window/limited_edit.h"
#include "station/window/named_widget.h"

namespace zek {
namespace {

QCheckBox* Check(const char* name, bool checked, bool enabled = true) {
  auto* box = NewNamed<QCheckBox>(name);
  box->setChecked(checked);
  box->setEnabled(enabled);
  return box;
}

LimitedEdit* Edit(const char* name, const char* text, int max_typed) {
  auto* edit = NewNamed<LimitedEdit>(name, QString(text), max_typed);
  edit->setEnabled(false);
  return edit;
}

SpinEdit* Spin(const char* name, int min, int max, int step, int value, int max_typed = 0) {
  auto* spin = NewNamed<SpinEdit>(name, min, max, step, value);
  spin->SetMaxTypedLength(max_typed);
  return spin;
}

}  // namespace

void TKelpraCfgForm::BuildControls() {
  LabelSN = NewNamed<QLabel>("LabelSN");
  LabelGN = NewNamed<QLabel>("LabelGN");
  LabelSAD = NewNamed<QLabel>("LabelSAD");
  SNEdit = Edit("SNEdit", "0x00000000", 10);
  GainEdit = Edit("GainEdit", "0x01", 4);
  AddrEdit = Edit("AddrEdit", "0x0000FFF0", 10);
  CheckBoxSN = Check("CheckBoxSN", false);
  ChkBoxStrSN = Check("ChkBoxStrSN", false, false);
  SNOrderChk = Check("SNOrderChk", false, false);
  ChkBoxSNDP = Check("ChkBoxSNDP", false, false);
  ChkBoxPCSN = Check("ChkBoxPCSN", false, false);
  CheckBoxCtrl = Check("CheckBoxCtrl", false);
  SpinEditNum = Spin("SpinEditNum", 0, 999999999, 100, 0, 8);
  SpinEditNum->setEnabled(false);
  LabelPWTM = NewNamed<QLabel>("LabelPWTM");
  SpinEditPwr = Spin("SpinEditPwr", 10, 1000, 10, 100);
  ChkBoxStrChip = Check("ChkBoxStrChip", false);
  ChkBoxShutPow = Check("ChkBoxShutPow", true);
  CheckBoxRst = Check("CheckBoxRst", true);
  ChkBoxMute = Check("ChkBoxMute", false);
  ChkBoxDLSI = Check("ChkBoxDLSI", true);
  SpinEditDS = Spin("SpinEditDS", 1000, 3000, 30, 2100, 4);
  LabelmsU = NewNamed<QLabel>("LabelmsU");
  GroupBoxCPD = NewNamed<QGroupBox>("GroupBoxCPD");
  CheckBoxAut = Check("CheckBoxAut", true);
  LabelTimIn = NewNamed<QLabel>("LabelTimIn");
  SpinEditIn = Spin("SpinEditIn", 300, 1500, 10, 500);
  LabelTimOut = NewNamed<QLabel>("LabelTimOut");
  SpinEditOut = Spin("SpinEditOut", 300, 2000, 10, 500);
  BitBtn1 = NewNamed<QPushButton>("BitBtn1", QString("Cancel"));
  BitBtn2 = NewNamed<QPushButton>("BitBtn2", QString("OK"));
  BitBtn2->setDefault(true);

  // S/N fields on the left.
  auto* sn = new QGridLayout;
  sn->addWidget(LabelSN, 0, 0);
  sn->addWidget(SNEdit, 0, 1);
  sn->addWidget(LabelGN, 1, 0);
  sn->addWidget(GainEdit, 1, 1);
  sn->addWidget(LabelSAD, 2, 0);
  sn->addWidget(AddrEdit, 2, 1);
  int row = 3;
  for (QCheckBox* box : {CheckBoxSN, ChkBoxStrSN, SNOrderChk, ChkBoxSNDP, ChkBoxPCSN})
    sn->addWidget(box, row++, 0, 1, 2);
  sn->setRowStretch(row, 1);

  // Number limit, power-on time and chip detection on the right.
  auto* limits = new QGridLayout;
  limits->addWidget(CheckBoxCtrl, 0, 0);
  limits->addWidget(SpinEditNum, 0, 1);
  limits->addWidget(LabelPWTM, 1, 0);
  limits->addWidget(SpinEditPwr, 1, 1);
  auto* detect = new QGridLayout(GroupBoxCPD);
  detect->addWidget(CheckBoxAut, 0, 0, 1, 2);
  detect->addWidget(LabelTimIn, 1, 0);
  detect->addWidget(SpinEditIn, 1, 1);
  detect->addWidget(LabelTimOut, 2, 0);
  detect->addWidget(SpinEditOut, 2, 1);
  limits->addWidget(GroupBoxCPD, 2, 0, 1, 2);
  limits->setRowStretch(3, 1);

  auto* top = new QHBoxLayout;
  top->addLayout(sn);
  top->addSpacing(16);
  top->addLayout(limits);

  // The output and reset boxes below.
  auto* boxes = new QGridLayout;
  boxes->addWidget(ChkBoxStrChip, 0, 0);
  boxes->addWidget(ChkBoxShutPow, 0, 1);
  boxes->addWidget(CheckBoxRst, 1, 0);
  boxes->addWidget(ChkBoxMute, 1, 1);
  auto* delay = new QHBoxLayout;
  delay->addWidget(ChkBoxDLSI);
  delay->addWidget(SpinEditDS);
  delay->addWidget(LabelmsU);
  delay->addStretch(1);
  boxes->addLayout(delay, 2, 0, 1, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BitBtn2);
  buttons->addWidget(BitBtn1);

  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addSpacing(8);
  all->addLayout(boxes);
  all->addSpacing(8);
  all->addLayout(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);
}

void TKelpraCfgForm::BindHandlers() {
  const std::pair<QCheckBox*, void (TKelpraCfgForm::*)()> actions[] = {
      {CheckBoxSN, &TKelpraCfgForm::CheckBoxSNClick},     {ChkBoxSNDP, &TKelpraCfgForm::ChkBoxSNDPClick},
      {CheckBoxAut, &TKelpraCfgForm::CheckBoxAutClick},   {CheckBoxCtrl, &TKelpraCfgForm::CheckBoxCtrlClick},
      {ChkBoxStrChip, &TKelpraCfgForm::ChkBoxStrChipClick}};
  // A change of state, by the operator or by loading, runs the action.
  for (const auto& [box, action] : actions)
    connect(box, &QCheckBox::toggled, this, [this, action = action] { RunGuarded([&] { (this->*action)(); }); });
  // OK closes also when storing failed; what was stored before stays.
  connect(BitBtn2, &QPushButton::clicked, this, [this] {
    RunGuarded([this] { BitBtn2Click(); });
    accept();
  });
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TKelpraCfgForm::SetCaptions() {
  for (int i = 0; i < static_cast<int>(Tx::Count); ++i) {
    const Tx id = static_cast<Tx>(i);
    if (KindOf(id) != TxKind::Settings) continue;
    const QString name = QString::fromUtf8(NameOf(id).data(), static_cast<int>(NameOf(id).size()));
    const QString text = QString::fromUtf8(tx_[id]);
    if (auto* button = findChild<QAbstractButton*>(name)) {
      button->setText(text);
    } else if (auto* label = findChild<QLabel*>(name)) {
      label->setText(text);
    } else if (auto* group = findChild<QGroupBox*>(name)) {
      group->setTitle(text);
    }
  }
}

SetupSummaryTexts TKelpraCfgForm::SummaryTexts() const {
  SetupSummaryTexts t;
  t.Title = tx_.S(Tx::SetupTitle);
  t.NoNumberControl = tx_.S(Tx::SetupNoNumberControl);
  t.NumberControl = tx_.S(Tx::SetupNumberControl);
  t.SNUsed = tx_.S(Tx::SetupSNUsed);
  t.SNAddress = tx_.S(Tx::SetupSNAddress);
  t.SNGain = tx_.S(Tx::SetupSNGain);
  t.SNString = tx_.S(Tx::SetupSNString);
  t.SNBinary = tx_.S(Tx::SetupSNBinary);
  t.SNBigEndian = tx_.S(Tx::SetupSNBigEndian);
  t.SNLittleEndian = tx_.S(Tx::SetupSNLittleEndian);
  t.SNOnline = tx_.S(Tx::SetupSNOnline);
  t.SNOffline = tx_.S(Tx::SetupSNOffline);
  t.SNDisabled = tx_.S(Tx::SetupSNDisabled);
  t.AutoDetectOn = tx_.S(Tx::SetupAutoDetectOn);
  t.AutoDetectOff = tx_.S(Tx::SetupAutoDetectOff);
  t.ShutPower = tx_.S(Tx::SetupShutPower);
  t.OutPower = tx_.S(Tx::SetupOutPower);
  t.LockReset = tx_.S(Tx::SetupLockReset);
  t.ReleaseReset = tx_.S(Tx::SetupReleaseReset);
  t.RunChip = tx_.S(Tx::SetupRunChip);
  t.NotRunChip = tx_.S(Tx::SetupNotRunChip);
  t.ShutBeeper = tx_.S(Tx::SetupShutBeeper);
  t.EnableBeeper = tx_.S(Tx::SetupEnableBeeper);
  t.PowerOnTime = tx_.S(Tx::SetupPowerOnTime);
  return t;
}

}  // namespace zek
