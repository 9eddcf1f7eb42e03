#pragma once
// The chip selection dialog over the chip table. It holds the operator's
// choice as a pending selection and commits it only on OK.

#include <QDialog>
#include <string>

#include "station/data/chip_table.h"
#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zek {

class TProgramZEKFrm;

class TChipSelectForm : public QDialog {
 public:
  TChipSelectForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  void FormShow();
  void ListBoxSeriesClick();
  void ListBoxChipsClick();
  void BitBtnOKClick();

  const PendingChip& Pending() const { return pending_; }

  QListWidget* ListBoxSeries;
  QListWidget* ListBoxChips;
  QLineEdit* EditSelChip;
  QGroupBox* GroupBoxInfo;
  QLabel* LabelROM;
  QLineEdit* EditROM;
  QLabel* LabelEEP;
  QLineEdit* EditEEP;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Build();
  void BuildLists();
  void BuildInfo();
  void Bind();

  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
  PendingChip pending_;
};

}  // namespace zek
