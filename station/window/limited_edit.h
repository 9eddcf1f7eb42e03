#pragma once
// A line edit whose typing may be limited to a number of characters while
// texts the program sets are shown whole (QLineEdit::setMaxLength would cut
// them): a value longer than the limit can be shortened but not grown.

#include <QLineEdit>

namespace zek {

// The typing rule: a text may grow only up to `max_length` characters.
inline bool TypedLengthAllowed(const QString& input, const QString& previous, int max_length) {
  return input.size() <= max_length || input.size() <= previous.size();
}

class LimitedEdit : public QLineEdit {
 public:
  LimitedEdit(const QString& text, int max_typed, QWidget* parent = nullptr);
  // The program's text, never cut.
  void SetText(const QString& text);

 private:
  class Validator;
  QString previous_;  // the text before the change being validated
  int max_typed_;
};

}  // namespace zek
