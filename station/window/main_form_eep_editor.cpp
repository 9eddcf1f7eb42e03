// The EEP grid's cell editor and pop-up menu.

#include <QAction>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <functional>

#include "station/data/errors.h"
#include "station/data/format.h"
#include "station/data/image_sums.h"
#include "station/window/error_handler.h"
#include "station/window/hex_grid_model.h"
#include "station/window/main_form.h"

namespace zek {
namespace {

// Reports every mouse press on a widget, any button, before the widget
// handles it (so a right click is known before the pop-up menu opens).
class MousePressWatch : public QObject {
 public:
  MousePressWatch(QObject* parent, std::function<void(QPoint)> pressed)
      : QObject(parent), pressed_(std::move(pressed)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) {
      pressed_(static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void(QPoint)> pressed_;
};

bool IsByteCell(int column, int row) { return row >= 1 && column >= 1 && column <= 16; }

}  // namespace

void TProgramZEKFrm::BindEepEditor() {
  // The pop-up items read as the menu items that run the same handlers.
  LoadEEPDataFmFile = new QAction(QString::fromUtf8(tx_[Tx::LoadEepData1]), EEPView);
  LoadEEPDataFmFile->setObjectName("LoadEEPDataFmFile");
  SaveEEpDatatoFile1 = new QAction(QString::fromUtf8(tx_[Tx::SaveEepData1]), EEPView);
  SaveEEpDatatoFile1->setObjectName("SaveEEpDatatoFile1");
  FillCurrent1 = new QAction("Fill Current", EEPView);
  FillCurrent1->setObjectName("FillCurrent1");
  EEPView->addActions({LoadEEPDataFmFile, SaveEEpDatatoFile1, FillCurrent1});
  EEPView->setContextMenuPolicy(Qt::ActionsContextMenu);
  // The editor floats over the grid; the cells must not show through it.
  PanelEdit->setAutoFillBackground(true);

  auto on = [this](auto* sender, auto signal, void (TProgramZEKFrm::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guard(handler); });
  };
  on(LoadEEPDataFmFile, &QAction::triggered, &TProgramZEKFrm::LoadEepData1Click);
  on(SaveEEpDatatoFile1, &QAction::triggered, &TProgramZEKFrm::SaveEepData1Click);
  on(FillCurrent1, &QAction::triggered, &TProgramZEKFrm::FillCurrent1Click);
  on(BitBtn2, &QPushButton::clicked, &TProgramZEKFrm::BitBtn2Click);
  on(BitBtn3, &QPushButton::clicked, &TProgramZEKFrm::BitBtn3Click);
  on(EEPView, &QAbstractItemView::doubleClicked, &TProgramZEKFrm::EEPViewDblClick);

  connect(EEPView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    // The grid's own header row is row 0, so model row r is grid row r + 1.
    if (current.isValid()) RunGuarded([&] { EEPViewSelectCell(current.column(), current.row() + 1); });
  });
  EEPView->viewport()->installEventFilter(new MousePressWatch(EEPView, [this](QPoint at) {
    const QPoint in_grid = EEPView->viewport()->mapTo(EEPView, at);
    RunGuarded([&] { EEPViewMouseDown(in_grid.x(), in_grid.y()); });
  }));
}

void TProgramZEKFrm::EEPViewSelectCell(int column, int row) {
  eep_column_ = column;
  eep_row_ = row;
}

void TProgramZEKFrm::EEPViewMouseDown(int x, int y) {
  eep_mouse_x_ = x;
  eep_mouse_y_ = y;
  st_.Views.StatusBar->SetPanelText(2, Format("X=%d,Y=%d.", {x, y}));
}

void TProgramZEKFrm::EEPViewDblClick() {
  if (!IsByteCell(eep_column_, eep_row_)) return;
  PanelEdit->move(EEPView->mapTo(PanelEdit->parentWidget(), QPoint(eep_mouse_x_, eep_mouse_y_)));
  PanelEdit->show();
  PanelEdit->raise();
  EditEEP->setFocus();
}

void TProgramZEKFrm::FillCurrent1Click() { EEPViewDblClick(); }

void TProgramZEKFrm::BitBtn3Click() { PanelEdit->hide(); }

void TProgramZEKFrm::BitBtn2Click() {
  PanelEdit->hide();
  const QString text = EditEEP->text();
  if (text.isEmpty()) return;
  st_.EepEdited = 1;
  const uint8_t value = static_cast<uint8_t>(StrToInt("0x" + text.toStdString()));
  // The selection may have left the bytes while the editor was open; an
  // address or text cell has no byte of its own to take the value.
  if (!IsByteCell(eep_column_, eep_row_)) return;
  const uint64_t index = uint64_t{16} * static_cast<uint64_t>(eep_row_ - 1) + static_cast<uint64_t>(eep_column_ - 1);
  if (index >= st_.EepBuffer.size()) return;
  st_.EepBuffer[index] = value;
  // Commands and project saves carry the EEP sums: they follow the edit.
  RefreshEepSums(st_);
  EepGrid().SetTypedText(eep_row_ - 1, eep_column_, text);
}

}  // namespace zek
