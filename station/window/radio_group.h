#pragma once
// A captioned group of radio buttons with one selected item index, the
// window's "radio group": setting the index by code runs the click action
// like a click does, setting the same index again runs nothing.

#include <QGroupBox>
#include <QStringList>
#include <functional>
#include <vector>

class QRadioButton;

namespace zek {

class RadioGroup : public QGroupBox {
 public:
  explicit RadioGroup(QWidget* parent = nullptr);
  // Replaces the items, one button each, stacked; no item selected.
  void SetItems(const QStringList& items);
  QStringList Items() const;
  // -1 when nothing is selected.
  int ItemIndex() const { return index_; }
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const;
  // Runs after every change of the index, by the operator or by code.
  std::function<void()> OnClick;

 private:
  void Select(int index);
  std::vector<QRadioButton*> buttons_;
  int index_ = -1;
};

}  // namespace zek
