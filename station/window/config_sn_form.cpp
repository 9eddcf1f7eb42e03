#include "station/window/config_sn_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QValidator>
#include <QVBoxLayout>
#include <span>

#include "station/data/data_patch.h"
#include "station/data/errors.h"
#include "station/data/gbk_text.h"
#include "station/window/error_handler.h"
#include "station/window/main_form.h"
#include "station/window/named_widget.h"
#include "station/window/radio_group.h"

namespace zek {
namespace {

// Typed and pasted letters become capitals.
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

}  // namespace

TConfigSNForm::TConfigSNForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("ConfigSNForm");
  setWindowTitle("Config S/N Constant");

  LabelAdrSN = Named(new QLabel(this), "LabelAdrSN");
  AddrEditSN = Named(new QLineEdit("0x00000000", this), "AddrEditSN");
  AddrEditSN->setMaxLength(10);
  AddrEditSN->setFixedWidth(120);
  RadioGrpDT = Named(new RadioGroup(this), "RadioGrpDT");
  // Two columns: the items sit side by side.
  delete RadioGrpDT->layout();
  RadioGrpDT->setLayout(new QHBoxLayout);
  LabelDAT = Named(new QLabel(this), "LabelDAT");
  EditDataSN = Named(new QLineEdit(this), "EditDataSN");
  EditDataSN->setMaxLength(255);
  EditDataSN->setValidator(new UpperCaseValidator(EditDataSN));
  BitBtnOK = Named(new QPushButton("OK", this), "BitBtnOK");
  BitBtnCancel = Named(new QPushButton("Cancel", this), "BitBtnCancel");
  BitBtnOK->setDefault(true);

  auto* address = new QHBoxLayout;
  address->addWidget(LabelAdrSN);
  address->addWidget(AddrEditSN);
  address->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtnOK);
  buttons->addWidget(BitBtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(address);
  layout->addWidget(RadioGrpDT);
  layout->addWidget(LabelDAT);
  layout->addWidget(EditDataSN);
  layout->addLayout(buttons);
  setMinimumWidth(480);

  connect(BitBtnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { BitBtnOKClick(); }); });
  connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TConfigSNForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The desktop re-showing the dialog (restored after minimising) is no new
  // opening: what the operator typed stays.
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}

void TConfigSNForm::FormShow() {
  LabelAdrSN->setText(tx_[Tx::PatchAddressLabel]);
  RadioGrpDT->setTitle(tx_[Tx::PatchFormatGroup]);
  RadioGrpDT->SetItems({tx_[Tx::PatchAsciiItem], tx_[Tx::PatchHexItem]});
  RadioGrpDT->SetItemIndex(0);
  LabelDAT->setText(tx_[Tx::PatchContentLabel]);
}

void TConfigSNForm::BitBtnOKClick() {
  if (EditDataSN->text().isEmpty()) {
    st_.Views.Boxes->Plain("请输入有效的序列号数据!");
    EditDataSN->setFocus();
    return;
  }
  const bool written = RadioGrpDT->ItemIndex() == 1 ? PatchHexData() : PatchAsciiData();
  if (written) accept();
}

bool TConfigSNForm::PatchAsciiData() { return Patch(ToGbk(EditDataSN->text().toStdString())); }

bool TConfigSNForm::PatchHexData() {
  const std::vector<uint8_t> bytes = HexPatchBytes(ToGbk(EditDataSN->text().toStdString()));
  return Patch(std::string(bytes.begin(), bytes.end()));
}

bool TConfigSNForm::Patch(const std::string& bytes) {
  // An address that is no integer raises the conversion error before
  // anything is written.
  uint32_t address = 0;
  try {
    address = static_cast<uint32_t>(StrToInt(AddrEditSN->text().toStdString()));
  } catch (const ConvertError&) {
    AddrEditSN->setFocus();
    throw;
  }
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const PatchOutcome outcome = WritePatch(st_, address, std::span<const uint8_t>(data, bytes.size()));
  if (!outcome.Written) {
    st_.Views.Boxes->Plain(outcome.Refusal);
    AddrEditSN->setFocus();
    return false;
  }
  if (outcome.Target == PatchTarget::Main)
    main_.ShowMainBuffer();
  else
    main_.ShowEepBuffer();
  return true;
}

}  // namespace zek
