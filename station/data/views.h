#pragma once
// Narrow interfaces through which the station logic reaches the window.
// The Qt window implements them; tests use recording fakes. None of them
// may block or re-enter the station logic.

#include <cstdint>
#include <string>
#include <vector>

namespace zek {

// The information log (InfoMemo): lines are only ever appended.
class InfoMemoView {
 public:
  virtual ~InfoMemoView() = default;
  virtual void AppendLine(const std::string& line) = 0;
  virtual std::vector<std::string> Lines() const = 0;
  virtual void Clear() = 0;
};

struct GaugeColor {
  uint8_t red = 0, green = 0, blue = 255;
  friend bool operator==(const GaugeColor&, const GaugeColor&) = default;
};
inline constexpr GaugeColor kGaugeBlue{0, 0, 255};
inline constexpr GaugeColor kGaugeRed{255, 0, 0};

// One progress gauge per port slot.
class GaugeView {
 public:
  virtual ~GaugeView() = default;
  virtual void SetMax(int max) = 0;
  virtual void SetProgress(int progress) = 0;
  virtual int Max() const = 0;
  virtual int Progress() const = 0;
  virtual void SetColor(GaugeColor color) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetVisible(bool visible) = 0;
};

enum class BoxChoice { Ok, Abort, Yes, No, Cancel };

// Message boxes. Each call is modal and returns the operator's choice.
class MessageBoxView {
 public:
  virtual ~MessageBoxView() = default;
  virtual void Information(const std::string& text) = 0;
  virtual void Warning(const std::string& text) = 0;
  // An error box with OK and Abort.
  virtual BoxChoice ErrorOkAbort(const std::string& text) = 0;
  virtual void Plain(const std::string& text) = 0;
};

class BeepView {
 public:
  virtual ~BeepView() = default;
  virtual void Beep() = 0;
};

// ViewPageCtrl: the main window's page control.
class PageControlView {
 public:
  virtual ~PageControlView() = default;
  virtual void ShowFirstTab() = 0;
};

class StatusBarView {
 public:
  virtual ~StatusBarView() = default;
  virtual void SetPanelText(int panel, const std::string& text) = 0;
};

// InfoPanel: the one-line caption above the information log.
class InfoPanelView {
 public:
  virtual ~InfoPanelView() = default;
  virtual void SetCaption(const std::string& text) = 0;
};

// ComboBoxCOM: the port list, kept sorted by the control.
class PortListView {
 public:
  virtual ~PortListView() = default;
  virtual std::vector<std::string> Items() const = 0;
  virtual void AddItem(const std::string& name) = 0;
  virtual void DeleteItem(int index) = 0;
  virtual void ClearItems() = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
};

// The read-back views of the main window: show ReadMainBuffer or
// ReadEepBuffer once a read-back has finished.
class ReadBackView {
 public:
  virtual ~ReadBackView() = default;
  virtual void ShowReadMainData() = 0;
  virtual void ShowReadEepData() = 0;
};

// The views the station logic talks to, all non-owning. The defaults
// point at do-nothing views, so a missing binding never crashes.
struct StationViews {
  StationViews();
  MessageBoxView* Boxes;
  BeepView* Beeper;
  PageControlView* ViewPageCtrl;
  StatusBarView* StatusBar;
  InfoPanelView* InfoPanel;
  PortListView* ComboBoxCOM;
  ReadBackView* ReadBack;
};

InfoMemoView& NullInfoMemo();
GaugeView& NullGauge();

}  // namespace zek
