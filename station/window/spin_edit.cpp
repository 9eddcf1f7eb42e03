#include "station/window/spin_edit.h"

#include <QLineEdit>

#include "station/data/spin_edit_value.h"
#include "station/window/limited_edit.h"

namespace zek {

SpinEdit::SpinEdit(int min, int max, int step, int value, QWidget* parent) : QSpinBox(parent) {
  setRange(min, max);
  setSingleStep(step);
  setValue(value);
}

int SpinEdit::Value() const { return SpinEditValue(lineEdit()->text().toStdString(), minimum(), maximum()); }

QValidator::State SpinEdit::validate(QString& input, int& pos) const {
  // The value is still the one before this change (or the program's new one).
  if (max_typed_ > 0 && !TypedLengthAllowed(input, textFromValue(value()), max_typed_)) return QValidator::Invalid;
  return QSpinBox::validate(input, pos);
}

void SpinEdit::fixup(QString& input) const {
  input = QString::number(SpinEditValue(input.toStdString(), minimum(), maximum()));
}

}  // namespace zek
