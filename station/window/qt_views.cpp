#include "station/window/qt_views.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabWidget>

namespace zek {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString Title() { return QApplication::applicationDisplayName(); }

}  // namespace

QtInfoMemo::QtInfoMemo(QPlainTextEdit* edit) : edit_(edit) {
  flush_.setSingleShot(true);
  flush_.setInterval(0);
  QObject::connect(&flush_, &QTimer::timeout, [this] { Flush(); });
  // Showing lays the box out again (scroll bars come and go): each new
  // range until the operator scrolls still ends at the last line.
  QScrollBar* bar = edit_->verticalScrollBar();
  QObject::connect(bar, &QScrollBar::rangeChanged, edit_, [this] {
    if (end_unseen_ && edit_->isVisible()) ShowEnd();
  });
  QObject::connect(bar, &QScrollBar::actionTriggered, edit_, [this] { end_unseen_ = false; });
}

void QtInfoMemo::AppendLine(const std::string& line) {
  lines_.push_back(line);
  if (pending_lines_++ > 0) pending_ += '\n';
  pending_ += line;
  if (!flush_.isActive()) flush_.start();
}

void QtInfoMemo::Clear() {
  lines_.clear();
  pending_.clear();
  pending_lines_ = 0;
  end_unseen_ = false;
  edit_->clear();
}

void QtInfoMemo::Flush() {
  flush_.stop();
  if (pending_lines_ == 0) return;
  edit_->appendPlainText(Q(pending_));
  pending_.clear();
  pending_lines_ = 0;
  end_unseen_ = !edit_->isVisible();
  ShowEnd();
}

void QtInfoMemo::ShowEnd() { edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum()); }

QtGauge::QtGauge(QProgressBar* bar) : bar_(bar) {}
void QtGauge::SetMax(int max) { bar_->setMaximum(max); }
void QtGauge::SetProgress(int progress) { bar_->setValue(std::min(progress, bar_->maximum())); }
int QtGauge::Max() const { return bar_->maximum(); }
int QtGauge::Progress() const { return bar_->value(); }
void QtGauge::SetEnabled(bool enabled) { bar_->setEnabled(enabled); }
void QtGauge::SetVisible(bool visible) { bar_->setVisible(visible); }

void QtGauge::SetColor(GaugeColor color) {
  if (styled_ && color == color_) return;
  color_ = color;
  styled_ = true;
  bar_->setStyleSheet(QString("QProgressBar{border:1px solid gray;text-align:center}"
                              "QProgressBar::chunk{background-color:rgb(%1,%2,%3)}")
                          .arg(color.red)
                          .arg(color.green)
                          .arg(color.blue));
}

void QtMessageBoxes::Information(const std::string& text) {
  QMessageBox::information(parent_, Title(), Q(text));
}

void QtMessageBoxes::Warning(const std::string& text) { QMessageBox::warning(parent_, Title(), Q(text)); }

BoxChoice QtMessageBoxes::ErrorOkAbort(const std::string& text) {
  const auto answer = QMessageBox::critical(parent_, Title(), Q(text), QMessageBox::Ok | QMessageBox::Abort,
                                            QMessageBox::Ok);
  return answer == QMessageBox::Abort ? BoxChoice::Abort : BoxChoice::Ok;
}

void QtMessageBoxes::Plain(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, Title(), Q(text), QMessageBox::Ok, parent_);
  box.exec();
}

void QtBeeper::Beep() { QApplication::beep(); }

void QtPageControl::ShowFirstTab() { tabs_->setCurrentIndex(0); }

void QtStatusBar::SetPanelText(int panel, const std::string& text) {
  if (panel >= 0 && panel < static_cast<int>(panels_.size())) panels_[panel]->setText(Q(text));
}

std::string QtStatusBar::PanelText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
  return panels_[panel]->text().toStdString();
}

void QtInfoPanel::SetCaption(const std::string& text) { label_->setText(Q(text)); }

QtPortList::QtPortList(QComboBox* combo) : combo_(combo) {
  SetChangeListener([this] { Repaint(); });
}

void QtPortList::Repaint() {
  const QSignalBlocker block(combo_);
  combo_->clear();
  for (const std::string& item : Items()) combo_->addItem(Q(item));
  combo_->setCurrentIndex(-1);
  combo_->setEditText(Q(Text()));
}

}  // namespace zek
