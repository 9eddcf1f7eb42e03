#include "station/data/port_list_model.h"

#include <algorithm>

namespace zek {
namespace {

unsigned char Folded(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

}  // namespace

bool PortListOrder(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Folded(x) < Folded(y); });
}

void PortListModel::AddItem(const std::string& name) {
  items_.insert(std::upper_bound(items_.begin(), items_.end(), name, PortListOrder), name);
  Changed();
}

void PortListModel::DeleteItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  Changed();
}

void PortListModel::ClearItems() {
  items_.clear();
  Changed();
}

void PortListModel::SetText(const std::string& text) {
  text_ = text;
  Changed();
}

void PortListModel::Changed() const {
  if (listener_) listener_();
}

}  // namespace zek
