#include "station/window/chip_select_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "station/data/format.h"
#include "station/window/error_handler.h"
#include "station/window/main_form.h"
#include "station/window/named_widget.h"

namespace zek {
namespace {

QLineEdit* ReadOnlyBox(const char* name) {
  auto* box = Named(new QLineEdit, name);
  box->setReadOnly(true);
  return box;
}

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TChipSelectForm::TChipSelectForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("ChipSelectForm");
  setWindowTitle("Chip Selection Dialog");
  Build();
  Bind();
}

void TChipSelectForm::Build() {
  BuildLists();
  BuildInfo();
  BitBtnOK = Named(new QPushButton("OK"), "BitBtnOK");
  BitBtnOK->setDefault(true);
  BitBtnCancel = Named(new QPushButton("Cancel"), "BitBtnCancel");

  auto* side = new QVBoxLayout;
  side->addWidget(new QLabel("Selected Chip:"));
  side->addWidget(EditSelChip);
  side->addWidget(GroupBoxInfo);
  side->addStretch(1);
  side->addWidget(BitBtnOK);
  side->addWidget(BitBtnCancel);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Chip Series:"), 0, 0);
  grid->addWidget(new QLabel("Chip Type:"), 0, 1);
  grid->addWidget(ListBoxSeries, 1, 0);
  grid->addWidget(ListBoxChips, 1, 1);
  grid->addLayout(side, 1, 2);
  grid->setColumnMinimumWidth(2, 180);
  setFixedSize(sizeHint());
}

void TChipSelectForm::BuildLists() {
  ListBoxSeries = Named(new QListWidget, "ListBoxSeries");
  ListBoxChips = Named(new QListWidget, "ListBoxChips");
  // Wide enough for the longest text of each list, a scroll bar besides.
  auto widest = [](const QWidget* list, auto&& texts) {
    int width = 0;
    for (std::string_view text : texts) width = std::max(width, list->fontMetrics().horizontalAdvance(Q(text)));
    return width + 40;
  };
  int parts_width = 0;
  for (const auto parts : ChipSeriesParts) parts_width = std::max(parts_width, widest(ListBoxChips, parts));
  ListBoxSeries->setFixedWidth(widest(ListBoxSeries, ChipSeriesTexts));
  ListBoxChips->setFixedWidth(parts_width);
  for (QListWidget* list : {ListBoxSeries, ListBoxChips}) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumHeight(220);
  }
}

void TChipSelectForm::BuildInfo() {
  EditSelChip = ReadOnlyBox("EditSelChip");
  EditROM = ReadOnlyBox("EditROM");
  EditEEP = ReadOnlyBox("EditEEP");
  LabelROM = Named(new QLabel("Flash Size:"), "LabelROM");
  LabelEEP = Named(new QLabel("EEP Size:"), "LabelEEP");
  // The EEP size is not shown to the operator.
  LabelEEP->setVisible(false);
  EditEEP->setVisible(false);

  GroupBoxInfo = Named(new QGroupBox("Chip Info"), "GroupBoxInfo");
  auto* info = new QGridLayout(GroupBoxInfo);
  info->addWidget(LabelROM, 0, 0);
  info->addWidget(EditROM, 0, 1);
  info->addWidget(LabelEEP, 1, 0);
  info->addWidget(EditEEP, 1, 1);
}

void TChipSelectForm::Bind() {
  connect(ListBoxSeries, &QListWidget::currentRowChanged, this, [this] { RunGuarded([this] { ListBoxSeriesClick(); }); });
  connect(ListBoxChips, &QListWidget::currentRowChanged, this, [this] { RunGuarded([this] { ListBoxChipsClick(); }); });
  connect(BitBtnOK, &QPushButton::clicked, this, [this] {
    RunGuarded([this] { BitBtnOKClick(); });
    accept();
  });
  connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TChipSelectForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The desktop re-showing the dialog (mapped, restored) is no new opening.
  if (event->spontaneous()) return;
  RunGuarded([this] { FormShow(); });
}

// Always opens on the first part of the first series, whatever chip the
// station holds.
void TChipSelectForm::FormShow() {
  pending_.EepStart = 0xFFFFFFFF;
  pending_.EepEnd = 0xFFFFFFFF;
  {
    const QSignalBlocker quiet(ListBoxSeries);
    ListBoxSeries->clear();
    for (std::string_view text : ChipSeriesTexts) ListBoxSeries->addItem(Q(text));
    ListBoxSeries->setCurrentRow(0);
  }
  ListBoxSeriesClick();
  ListBoxChipsClick();
}

void TChipSelectForm::ListBoxSeriesClick() {
  const int series = ListBoxSeries->currentRow();
  if (series < 0 || series >= kChipSeriesCount) return;
  {
    const QSignalBlocker quiet(ListBoxChips);
    ListBoxChips->clear();
    const auto parts = ChipSeriesParts[series];
    for (int i = 0; i <= ChipSeriesLastIndex[series]; ++i) ListBoxChips->addItem(Q(parts[i]));
    ListBoxChips->setCurrentRow(0);
  }
  pending_.ClassCode = ChipSeriesClass[series];
  ListBoxChipsClick();
}

void TChipSelectForm::ListBoxChipsClick() {
  // With no part selected the pending choice stays whole: an index of -1
  // must not travel with the name of the part shown.
  const int row = ListBoxChips->currentRow();
  if (row < 0) return;
  pending_.PartIndex = static_cast<uint8_t>(row);
  // The class comes back with every part: a BF7112 seen before must not
  // leave its class on the next part of the series.
  const int series = ListBoxSeries->currentRow();
  if (series >= 0 && series < kChipSeriesCount) pending_.ClassCode = ChipSeriesClass[series];
  EditSelChip->setText(ListBoxChips->item(row)->text());
  ApplySizeRule(EditSelChip->text().toStdString(), pending_);
  EditROM->setText(Q(Format("%d KB", {pending_.FlashKB})));
  EditEEP->setText(Q(Format("%d Bytes", {pending_.EepSize})));
}

void TChipSelectForm::BitBtnOKClick() { CommitChipSelection(st_, pending_, EditSelChip->text().toStdString()); }

}  // namespace zek
