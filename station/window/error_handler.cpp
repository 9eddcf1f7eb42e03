#include "station/window/error_handler.h"

#include <QMessageBox>
#include <exception>
#include <string>

#include "station/data/views.h"

namespace zek {
namespace {

std::function<MessageBoxView*()> g_boxes;

void ShowError(const std::string& text) {
  MessageBoxView* boxes = g_boxes ? g_boxes() : nullptr;
  if (boxes != nullptr) {
    boxes->Plain(text);
    return;
  }
  QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromStdString(text));
}

void ShowCurrentException() {
  const std::string text = CurrentExceptionText();
  try {
    ShowError(text);
  } catch (...) {
    // A box that cannot be shown must not take the program down.
  }
}

}  // namespace

void SetErrorBoxes(std::function<MessageBoxView*()> boxes) { g_boxes = std::move(boxes); }

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    ShowCurrentException();
  }
}

bool StationApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}

}  // namespace zek
