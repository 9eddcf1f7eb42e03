#include "station/window/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace zek {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) { setLayout(new QVBoxLayout); }

void RadioGroup::SetItems(const QStringList& items) {
  for (QRadioButton* b : buttons_) delete b;
  buttons_.clear();
  index_ = -1;
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    b->setAutoExclusive(false);  // the group's own index decides
    layout()->addWidget(b);
    QObject::connect(b, &QRadioButton::clicked, this, [this, i] { Select(i); });
    buttons_.push_back(b);
  }
}

QStringList RadioGroup::Items() const {
  QStringList items;
  for (QRadioButton* b : buttons_) items << b->text();
  return items;
}

void RadioGroup::SetItemIndex(int index) { Select(index); }

QRadioButton* RadioGroup::Button(int index) const {
  return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[index] : nullptr;
}

void RadioGroup::Select(int index) {
  if (index < -1 || index >= static_cast<int>(buttons_.size())) return;
  for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) buttons_[i]->setChecked(i == index);
  if (index == index_) return;
  index_ = index;
  if (OnClick) OnClick();
}

}  // namespace zek
