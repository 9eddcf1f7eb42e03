#pragma once
// The program's general error handler: an exception that escapes a handler
// (menu, button, timer or port event alike) is shown in a message box with
// its text, and the program goes on. Nothing escapes into Qt's event loop.

#include <QApplication>
#include <functional>
#include <string>

namespace zek {

class MessageBoxView;

// Where the handler shows its errors, asked at the moment of the error
// (the main window's current boxes); unset or null: a desktop box.
void SetErrorBoxes(std::function<MessageBoxView*()> boxes);

// The text shown for the exception in flight: the runtime's text of a
// FileError, ConvertError or other std::exception, else a generic text.
std::string CurrentExceptionText();

// Runs the handler; an escaping exception goes to the error box.
void RunGuarded(const std::function<void()>& handler);

// The backstop for anything a handler lets escape into event delivery.
class StationApplication : public QApplication {
 public:
  StationApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zek
