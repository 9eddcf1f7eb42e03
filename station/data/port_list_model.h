#pragma once
// ComboBoxCOM's list as the window shows it: the port names kept sorted
// as text, the way the control keeps them (COM10 before COM2), and the
// box's own text. The Qt window presents it; the logic changes it through
// PortListView.

#include <functional>
#include <string>
#include <vector>

#include "station/data/views.h"

namespace zek {

// The control's order: byte by byte, letters without regard to case.
bool PortListOrder(const std::string& a, const std::string& b);

class PortListModel : public PortListView {
 public:
  std::vector<std::string> Items() const override { return items_; }
  // Inserted at its place in the order, after any equal items.
  void AddItem(const std::string& name) override;
  // An index outside the list deletes nothing.
  void DeleteItem(int index) override;
  void ClearItems() override;
  void SetText(const std::string& text) override;
  std::string Text() const override { return text_; }

  int Count() const { return static_cast<int>(items_.size()); }
  // Told after every change, so a view can repaint.
  void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  void Changed() const;
  std::vector<std::string> items_;
  std::string text_;
  std::function<void()> listener_;
};

}  // namespace zek
