#include "station/window/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>

#include "serial/comm_component.h"
#include "station/window/error_handler.h"
#include "station/window/tick_probe.h"

namespace zek {

TProgramZEKFrm::TProgramZEKFrm(StationState& st, const EditionTexts& texts, MainFormOptions options)
    : st_(st),
      tx_(texts),
      options_(std::move(options)),
      runner_(options_.Dialogs != nullptr ? options_.Dialogs : &ModalDialogRunner()),
      own_files_(options_.Files != nullptr ? nullptr : MakeDesktopFileDialogs(this)),
      files_(options_.Files != nullptr ? options_.Files : own_files_.get()) {
  setObjectName("ProgramZEKFrm");
  tick_probe_ = std::make_unique<TickProbe>();
  setCentralWidget(new QWidget(this));
  setFixedSize(980, 680);
  BuildTopBar();
  BuildMenus();
  ViewPageCtrl = new QTabWidget(centralWidget());
  ViewPageCtrl->setObjectName("ViewPageCtrl");
  ViewPageCtrl->setGeometry(0, 68, 980, 560);
  const std::pair<QWidget**, const char*> pages[] = {{&TabSheetChip, "TabSheetChip"},
                                                      {&TabSheetFlash, "TabSheetFlash"},
                                                      {&TabSheetEep, "TabSheetEep"},
                                                      {&TabSheetRdMF, "TabSheetRdMF"},
                                                      {&TabSheetRdEEP, "TabSheetRdEEP"}};
  const char* const captions[] = {"Chip Setup", "Main Data", "EEP Data", "Read Main Data", "Read EEP Data"};
  for (int i = 0; i < 5; ++i) {
    *pages[i].first = new QWidget;
    (*pages[i].first)->setObjectName(pages[i].second);
    ViewPageCtrl->addTab(*pages[i].first, captions[i]);
  }
  BuildChipTab();
  BuildGridTabs();
  BuildStatusBar();
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(10);
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer2 = new QTimer(this);
  Timer2->setObjectName("Timer2");
  Timer2->setInterval(100);
  BindViews();
  BindPorts();
  BindHandlers();
  // The window previews keys before its controls, also those made later.
  qApp->installEventFilter(this);
  if (options_.StartTimers) {
    Timer1->start();
    Timer2->start();
  }
}

TProgramZEKFrm::~TProgramZEKFrm() {
  qApp->removeEventFilter(this);
  SetErrorBoxes(nullptr);
  for (auto& comm : comms_) comm->ClosePort();
  // Views the state still points at go with the window.
  st_.Views = StationViews();
  st_.SharedInfoMemo = &NullInfoMemo();
  for (auto& gauge : st_.PortGauge) gauge = nullptr;
  for (auto& comm : st_.PortComm) comm = nullptr;
}

void TProgramZEKFrm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  RunGuarded([this] { FormShow(); });
}

void TProgramZEKFrm::closeEvent(QCloseEvent* event) {
  bool closed = false;
  RunGuarded([&] {
    FormClose();
    closed = true;
  });
  // A close handler that failed leaves the window open, so the operator
  // can mend the log settings and close again.
  if (closed) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TProgramZEKFrm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  // Only the first delivery of a key in this window: to its focused
  // control, or to the window itself when none has the focus. A key a
  // control ignores travels on to its parents and is not seen again.
  auto* widget = static_cast<QWidget*>(watched);
  QWidget* first = focusWidget() != nullptr ? focusWidget() : this;
  if (widget != first || (widget != this && !isAncestorOf(widget))) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  if (text == " " || text == "\r" || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    const char c = (text == " ") ? ' ' : '\r';
    RunGuarded([&] { FormKeyPress(c); });
  }
  return false;
}

std::vector<std::string> TProgramZEKFrm::CfgInfoLines() const {
  std::vector<std::string> lines;
  const QStringList parts = CfgInfo->toPlainText().split('\n');
  if (CfgInfo->toPlainText().isEmpty()) return lines;
  for (const QString& part : parts) lines.push_back(part.toStdString());
  return lines;
}

void TProgramZEKFrm::SetCfgInfoLines(const std::vector<std::string>& lines) {
  QString text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += QString::fromStdString(lines[i]);
  }
  CfgInfo->setPlainText(text);
}

}  // namespace zek
