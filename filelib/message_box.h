#pragma once
// The library's only user interface: the boxes of the interactive loaders
// (and the writers' error report). Loaders take the box to use, so tests
// answer it as they choose; the exports pass the console box.

#include <string>

namespace rhb {

enum class BoxAnswer { Ok, Abort };

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // Error icon, buttons OK and Abort.
  virtual BoxAnswer ErrorOkAbort(const std::string& text) = 0;
  // Error icon, OK only.
  virtual void Error(const std::string& text) = 0;
  // Information icon, OK only.
  virtual void Information(const std::string& text) = 0;
};

// The box the exports use, in every process (the library has no window
// toolkit): the text goes to standard error (one line, written at once)
// and every box is answered OK.
class ConsoleMessageBox final : public MessageBox {
 public:
  BoxAnswer ErrorOkAbort(const std::string& text) override;
  void Error(const std::string& text) override;
  void Information(const std::string& text) override;
};

// "Line %d Data Error : %d."
std::string LineErrorText(unsigned line, unsigned code);
inline constexpr const char* kOutOfSpaceText = "Has Data out of the Address Space!";

}  // namespace rhb
