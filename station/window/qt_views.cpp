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
#include <algorithm>

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

QtGauge::QtGauge(QProgressBar* bar)
    : bar_(bar), min_(bar->minimum()), max_(bar->maximum()), value_(bar->value()) {}

// As QProgressBar::setMaximum: a value outside the new range empties the bar.
void QtGauge::SetMax(int max) {
  min_ = std::min(min_, max);
  max_ = max;
  if (value_ < min_ - 1 || value_ > max_) value_ = min_ - 1;
  changed_ = true;
}

// As QProgressBar::setValue, given at most the maximum.
void QtGauge::SetProgress(int progress) {
  const int value = std::min(progress, max_);
  if (value < min_ && (min_ != 0 || max_ != 0)) return;
  value_ = value;
  changed_ = true;
}

void QtGauge::SetEnabled(bool enabled) { bar_->setEnabled(enabled); }
void QtGauge::SetVisible(bool visible) { bar_->setVisible(visible); }

void QtGauge::SetColor(GaugeColor color) {
  color_ = color;
  colored_ = true;
}

void QtGauge::Repaint() {
  const bool restyle = colored_ && shown_color_ != color_;
  if (!changed_ && !restyle) return;
  // The bar's own repaints are held back; enabling updates again asks for
  // one paint, which the window does with its other changes.
  bar_->setUpdatesEnabled(false);
  if (changed_) {
    bar_->setRange(min_, max_);
    if (value_ == min_ - 1)
      bar_->reset();
    else
      bar_->setValue(value_);
  }
  if (restyle) {
    bar_->setStyleSheet(QString("QProgressBar{border:1px solid gray;text-align:center}"
                                "QProgressBar::chunk{background-color:rgb(%1,%2,%3)}")
                            .arg(color_.red)
                            .arg(color_.green)
                            .arg(color_.blue));
    shown_color_ = color_;
  }
  bar_->setUpdatesEnabled(true);
  changed_ = false;
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
