#include "station/window/option_bytes_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "station/data/errors.h"
#include "station/data/format.h"
#include "station/data/option_block.h"
#include "station/window/error_handler.h"
#include "station/window/main_form.h"
#include "station/window/named_widget.h"

namespace zek {

TBS32xOptBytFrm::TBS32xOptBytFrm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("BS32xOptBytFrm");

  LabelROP = Named(new QLabel("Read Out Protect:   ", this), "LabelROP");
  ComBoxROP = Named(new QComboBox(this), "ComBoxROP");
  ComBoxROP->addItems({"0xA5 : Level 0, no protection", "others: Level 1: Read Protection"});
  LabelIWDG = Named(new QLabel("IWDG_EN: ", this), "LabelIWDG");
  ComBoxIWDG = Named(new QComboBox(this), "ComBoxIWDG");
  LabelInfWRP = Named(new QLabel("SYSINFO_WRP: ", this), "LabelInfWRP");
  ComBoxInfWRP = Named(new QComboBox(this), "ComBoxInfWRP");
  ComBoxInfWRP->addItems({"0 : Hardware watchdog", "1 : Software watchdog"});
  ComBoxInfWRP->setCurrentIndex(1);
  LabelInfWRP->setVisible(false);
  ComBoxInfWRP->setVisible(false);

  auto* grid = new QGridLayout;
  grid->addWidget(LabelROP, 0, 0);
  grid->addWidget(ComBoxROP, 0, 1);
  grid->addWidget(LabelIWDG, 1, 0);
  grid->addWidget(ComBoxIWDG, 1, 1);
  grid->addWidget(LabelInfWRP, 2, 0);
  grid->addWidget(ComBoxInfWRP, 2, 1);
  grid->setColumnStretch(1, 1);
  // WRP0-WRP3 on one row, WRP4-WRP7 below, each label before its edit.
  auto* wrp = new QGridLayout;
  wrp->setHorizontalSpacing(8);
  for (int n = 0; n < 8; ++n) {
    const QString number = QString::number(n);
    LabelWRP[n] = Named(new QLabel("WRP" + number, this), "LabelWRP" + number);
    EditWRP[n] = Named(new QLineEdit("0xFF", this), "EditWRP" + number);
    EditWRP[n]->setMaxLength(4);
    EditWRP[n]->setFixedWidth(56);
    wrp->addWidget(LabelWRP[n], n / 4, 2 * (n % 4));
    wrp->addWidget(EditWRP[n], n / 4, 2 * (n % 4) + 1);
  }
  wrp->setColumnStretch(8, 1);
  BitBtnOK = Named(new QPushButton("OK", this), "BitBtnOK");
  BitBtnOK->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtnOK);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addLayout(wrp);
  layout->addSpacing(6);
  layout->addLayout(buttons);

  connect(BitBtnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { BitBtnOKClick(); }); });
}

void TBS32xOptBytFrm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The desktop re-showing the dialog (restored after minimising) is no new
  // opening: what the operator typed stays.
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}

void TBS32xOptBytFrm::FormShow() {
  setWindowTitle(QString::fromStdString(st_.ChipName + "-- Option Byte Setting"));
  ComBoxIWDG->clear();
  ComBoxIWDG->addItems({tx_[Tx::OptionIwdgItem0], tx_[Tx::OptionIwdgItem1]});
  const OptionChoice choice = ReadOptionChoice(st_);
  ComBoxROP->setCurrentIndex(choice.RopItem);
  ComBoxIWDG->setCurrentIndex(choice.IwdgItem);
  for (int n = 0; n < 8; ++n) EditWRP[n]->setText(QString::fromStdString(Format("0x%0.2x", {choice.Wrp[n]})));
}

void TBS32xOptBytFrm::BitBtnOKClick() {
  OptionChoice choice = ReadOptionChoice(st_);
  choice.RopItem = ComBoxROP->currentIndex();
  choice.IwdgItem = ComBoxIWDG->currentIndex();
  choice.InfWrpItem = ComBoxInfWRP->currentIndex();
  // Every edit is read before anything is stored: a text that is no
  // integer leaves the whole block as it was and the dialog open on it.
  for (int n : {6, 7, 4, 5, 2, 3, 0, 1}) {
    try {
      choice.Wrp[n] = static_cast<uint8_t>(StrToInt(EditWRP[n]->text().toStdString()));
    } catch (const ConvertError&) {
      EditWRP[n]->setFocus();
      throw;
    }
  }
  StoreOptionChoice(st_, choice);
  accept();
}

}  // namespace zek
