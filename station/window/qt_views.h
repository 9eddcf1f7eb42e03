#pragma once
// The window's side of the views the station logic talks to.

#include <QObject>
#include <QTimer>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "station/data/port_list_model.h"
#include "station/data/views.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QWidget;

namespace zek {

// InfoMemo. Every line is kept in order for the close-time log file; the
// text box receives new lines in one batch per turn of the event loop, so
// ten busy units never make the window repaint per line.
class QtInfoMemo : public InfoMemoView {
 public:
  explicit QtInfoMemo(QPlainTextEdit* edit);
  void AppendLine(const std::string& line) override;
  std::vector<std::string> Lines() const override { return lines_; }
  void Clear() override;
  size_t LineCount() const { return lines_.size(); }
  // Moves pending lines into the text box now.
  void Flush();

 private:
  void ShowEnd();

  QPlainTextEdit* edit_;
  std::vector<std::string> lines_;
  std::string pending_;
  size_t pending_lines_ = 0;
  // Lines came in while the text box was hidden: the range it had then is
  // not the one it shows with, so its end is shown once it is visible.
  bool end_unseen_ = false;
  QTimer flush_;
};

// One slot's progress bar. A bar repaints itself at once on every new
// value, so ten units' block replies would each wait behind the others'
// repaints: the range, value and colour live here, by the bar's own rules,
// and reach the bar at most once per tick of the 10 ms timer (Repaint).
class QtGauge : public GaugeView {
 public:
  explicit QtGauge(QProgressBar* bar);
  void SetMax(int max) override;
  void SetProgress(int progress) override;
  int Max() const override { return max_; }
  int Progress() const override { return value_; }
  void SetColor(GaugeColor color) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  GaugeColor Color() const { return color_; }
  // Shows what changed since the last call, in one later paint.
  void Repaint();

 private:
  QProgressBar* bar_;
  int min_, max_, value_;
  bool changed_ = false;
  GaugeColor color_{};
  std::optional<GaugeColor> shown_color_;  // none: the bar's own style
  bool colored_ = false;
};

class QtMessageBoxes : public MessageBoxView {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void Information(const std::string& text) override;
  void Warning(const std::string& text) override;
  BoxChoice ErrorOkAbort(const std::string& text) override;
  void Plain(const std::string& text) override;

 private:
  QWidget* parent_;
};

class QtBeeper : public BeepView {
 public:
  void Beep() override;
};

class QtPageControl : public PageControlView {
 public:
  explicit QtPageControl(QTabWidget* tabs) : tabs_(tabs) {}
  void ShowFirstTab() override;

 private:
  QTabWidget* tabs_;
};

class QtStatusBar : public StatusBarView {
 public:
  explicit QtStatusBar(std::array<QLabel*, 4> panels) : panels_(panels) {}
  void SetPanelText(int panel, const std::string& text) override;
  std::string PanelText(int panel) const;

 private:
  std::array<QLabel*, 4> panels_;
};

class QtInfoPanel : public InfoPanelView {
 public:
  explicit QtInfoPanel(QLabel* label) : label_(label) {}
  void SetCaption(const std::string& text) override;

 private:
  QLabel* label_;
};

// ComboBoxCOM: the sorted list model shown in a combo box.
class QtPortList : public PortListModel {
 public:
  explicit QtPortList(QComboBox* combo);

 private:
  void Repaint();
  QComboBox* combo_;
};

}  // namespace zek
