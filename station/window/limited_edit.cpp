#include "station/window/limited_edit.h"

#include <QValidator>

namespace zek {

class LimitedEdit::Validator : public QValidator {
 public:
  explicit Validator(LimitedEdit* edit) : QValidator(edit), edit_(edit) {}
  State validate(QString& input, int&) const override {
    return TypedLengthAllowed(input, edit_->previous_, edit_->max_typed_) ? Acceptable : Invalid;
  }

 private:
  LimitedEdit* edit_;
};

LimitedEdit::LimitedEdit(const QString& text, int max_typed, QWidget* parent)
    : QLineEdit(parent), max_typed_(max_typed) {
  SetText(text);
  setValidator(new Validator(this));
  // The edit holds the new text already while validating it.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& now) { previous_ = now; });
}

void LimitedEdit::SetText(const QString& text) {
  previous_ = text;
  setText(text);
}

}  // namespace zek
