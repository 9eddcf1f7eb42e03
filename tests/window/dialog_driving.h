#pragma once
// Driving dialogs the way an operator does: keys typed into a widget.

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace zek::testing {

// Sends one key press per character, so validators and input masks see
// typed text rather than text set by code.
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

}  // namespace zek::testing
