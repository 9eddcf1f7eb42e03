#pragma once
// The window's spin edit: an integer box whose set value is brought into
// its range and whose read value comes from its text (a text that is no
// number reads as the minimum). The operator's typing may be limited to a
// number of characters without cutting values the program sets.

#include <QLineEdit>
#include <QSpinBox>

namespace zek {

class SpinEdit : public QSpinBox {
 public:
  SpinEdit(int min, int max, int step, int value, QWidget* parent = nullptr);
  int Value() const;
  void SetValue(int value) { setValue(value); }
  void SetMaxTypedLength(int length) { max_typed_ = length; }
  // The text box the operator types into.
  QLineEdit* Editor() const { return lineEdit(); }

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  // Leaving the box with a text that is no number, or out of range, shows
  // what reading it gives.
  void fixup(QString& input) const override;

 private:
  int max_typed_ = 0;  // 0: no limit beyond the range
};

}  // namespace zek
