#include "station/window/log_cfg_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "station/window/error_handler.h"
#include "station/window/main_form.h"
#include "station/window/radio_group.h"

namespace zek {

TLogCfgForm::TLogCfgForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("LogCfgForm");
  setWindowTitle("Config Log File.");
  OpenDialogLog.Filter = "All Log Files(*.Log,*.Txt)|*.log;*.Txt";
  OpenDialogLog.DefaultExt = "*.log";
  BuildControls();
  auto guarded = [this](void (TLogCfgForm::*handler)()) {
    return [this, handler] { RunGuarded([&] { (this->*handler)(); }); };
  };
  connect(CheckBoxLog, &QCheckBox::toggled, this, guarded(&TLogCfgForm::CheckBoxLogClick));
  RadioGrpCreat->OnClick = guarded(&TLogCfgForm::RadioGrpCreatClick);
  connect(SpeedButtonOP, &QToolButton::clicked, this, guarded(&TLogCfgForm::SpeedButtonOPClick));
  connect(OK, &QPushButton::clicked, this, guarded(&TLogCfgForm::OKClick));
}

void TLogCfgForm::BuildControls() {
  CheckBoxLog = new QCheckBox(QString::fromUtf8(tx_[Tx::LogGenerate]));
  CheckBoxLog->setObjectName("CheckBoxLog");
  CheckBoxLog->setChecked(true);
  RadioGrpCreat = new RadioGroup;
  RadioGrpCreat->setObjectName("RadioGrpCreat");
  RadioGrpCreat->setTitle("Use Log");
  RadioGrpCreat->SetItems(CreateItems());
  RadioGrpCreat->SetItemIndex(0);
  RadioGrpMod = new RadioGroup;
  RadioGrpMod->setObjectName("RadioGrpMod");
  RadioGrpMod->setTitle("Log File Mode ");
  RadioGrpMod->SetItems(ModeItems());
  RadioGrpMod->SetItemIndex(0);
  RadioGrpMod->setEnabled(false);
  LabelLogD = new QLabel(QString::fromUtf8(tx_[Tx::LogSpecificName]));
  LabelLogD->setObjectName("LabelLogD");
  EditLogName = new QLineEdit("MTx_2019xx.log");
  EditLogName->setObjectName("EditLogName");
  EditLogName->setEnabled(false);
  SpeedButtonOP = new QToolButton;
  SpeedButtonOP->setObjectName("SpeedButtonOP");
  SpeedButtonOP->setText("浏览");
  SpeedButtonOP->setEnabled(false);
  OK = new QPushButton("OK");
  OK->setObjectName("OK");
  OK->setDefault(true);

  auto* groups = new QHBoxLayout;
  groups->addWidget(RadioGrpCreat);
  groups->addWidget(RadioGrpMod);
  auto* name = new QHBoxLayout;
  name->addWidget(EditLogName, 1);
  name->addWidget(SpeedButtonOP);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OK);
  auto* all = new QVBoxLayout(this);
  all->addWidget(CheckBoxLog);
  all->addLayout(groups);
  all->addWidget(LabelLogD);
  all->addLayout(name);
  all->addLayout(buttons);
  EditLogName->setMinimumWidth(320);
  all->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList TLogCfgForm::CreateItems() const {
  return {QString::fromUtf8(tx_[Tx::LogSystemName]), QString::fromUtf8(tx_[Tx::LogCustomerName])};
}

QStringList TLogCfgForm::ModeItems() const {
  return {QString::fromUtf8(tx_[Tx::LogNewFile]), QString::fromUtf8(tx_[Tx::LogOverwriteFile]),
          QString::fromUtf8(tx_[Tx::LogAppendFile])};
}

void TLogCfgForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}

void TLogCfgForm::FormShow() {
  CheckBoxLog->setText(QString::fromUtf8(tx_[Tx::LogGenerate]));
  LabelLogD->setText(QString::fromUtf8(tx_[Tx::LogSpecificName]));
  // New items leave nothing selected, so selecting the first always runs
  // the name-mode action.
  RadioGrpCreat->SetItems(CreateItems());
  RadioGrpCreat->SetItemIndex(0);
  RadioGrpMod->SetItems(ModeItems());
  RadioGrpMod->SetItemIndex(0);
}

void TLogCfgForm::CheckBoxLogClick() {
  const bool on = CheckBoxLog->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{RadioGrpCreat, RadioGrpMod, SpeedButtonOP, EditLogName})
    w->setEnabled(on);
}

void TLogCfgForm::RadioGrpCreatClick() {
  const bool customer = RadioGrpCreat->ItemIndex() == 1;
  for (QWidget* w : std::initializer_list<QWidget*>{RadioGrpMod, SpeedButtonOP, EditLogName}) w->setEnabled(customer);
  RadioGrpMod->SetItemIndex(0);
  if (!customer) EditLogName->clear();
}

void TLogCfgForm::SpeedButtonOPClick() {
  const std::optional<FileDialogAnswer> answer = main_.Files().Open(OpenDialogLog);
  if (!answer) return;
  OpenDialogLog.FileName = answer->Path;
  EditLogName->setText(QString::fromStdString(answer->Path));
}

void TLogCfgForm::OKClick() {
  if (RadioGrpCreat->ItemIndex() == 1 && EditLogName->text().isEmpty()) {
    st_.Views.Boxes->Plain(tx_.S(Tx::LogInvalidName));
    EditLogName->setFocus();
    return;
  }
  accept();
}

bool TLogCfgForm::LogEnabled() const { return CheckBoxLog->isChecked(); }
bool TLogCfgForm::LogNameAuto() const { return RadioGrpCreat->ItemIndex() == 0; }
int TLogCfgForm::LogMode() const { return RadioGrpMod->ItemIndex(); }
std::string TLogCfgForm::GetLogFileName() const { return EditLogName->text().toStdString(); }

}  // namespace zek
