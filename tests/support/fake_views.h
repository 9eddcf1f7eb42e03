#pragma once
// Recording fakes of the window's views and of a serial port, and a fixture
// that wires a fresh station to them with a fixed clock.

#include <deque>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "serial/comm_port.h"
#include "station/data/station_state.h"
#include "station/data/views.h"

namespace zek::testing {

class FakeInfoMemo : public InfoMemoView {
 public:
  void AppendLine(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> Lines() const override { return lines; }
  void Clear() override { lines.clear(); }
  std::vector<std::string> lines;
};

class FakeGauge : public GaugeView {
 public:
  void SetMax(int m) override { max = m; }
  void SetProgress(int p) override { progress = p; }
  int Max() const override { return max; }
  int Progress() const override { return progress; }
  void SetColor(GaugeColor c) override { color = c; }
  void SetEnabled(bool e) override { enabled = e; }
  void SetVisible(bool v) override { visible = v; }
  int max = 100, progress = 0;
  GaugeColor color{};
  bool enabled = false, visible = true;
};

struct ShownBox {
  std::string kind;  // "information", "warning", "error", "plain"
  std::string text;
};

// Records every box; error boxes take their answers from `answers` in
// order, then OK.
class FakeBoxes : public MessageBoxView {
 public:
  void Information(const std::string& t) override { shown.push_back({"information", t}); }
  void Warning(const std::string& t) override { shown.push_back({"warning", t}); }
  BoxChoice ErrorOkAbort(const std::string& t) override {
    shown.push_back({"error", t});
    if (answers.empty()) return BoxChoice::Ok;
    BoxChoice c = answers.front();
    answers.pop_front();
    return c;
  }
  void Plain(const std::string& t) override { shown.push_back({"plain", t}); }
  std::vector<ShownBox> shown;
  std::deque<BoxChoice> answers;
};

class FakeBeeper : public BeepView {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

class FakePageControl : public PageControlView {
 public:
  void ShowFirstTab() override { ++first_tab_shown; }
  int first_tab_shown = 0;
};

class FakeStatusBar : public StatusBarView {
 public:
  void SetPanelText(int panel, const std::string& t) override { panels[panel] = t; }
  std::map<int, std::string> panels;
};

class FakeInfoPanel : public InfoPanelView {
 public:
  void SetCaption(const std::string& t) override { caption = t; }
  std::string caption;
};

class FakePortList : public PortListView {
 public:
  std::vector<std::string> Items() const override { return items; }
  void AddItem(const std::string& n) override { items.push_back(n); }
  void DeleteItem(int i) override {
    if (i >= 0 && i < static_cast<int>(items.size())) items.erase(items.begin() + i);
  }
  void ClearItems() override { items.clear(); }
  void SetText(const std::string& t) override { text = t; }
  std::string Text() const override { return text; }
  std::vector<std::string> items;
  std::string text;
};

// A serial port that records what is sent. Like the real component, it
// refuses to open while open.
class FakeCommPort : public CommPort {
 public:
  void OpenPort() override {
    if (open) throw std::runtime_error("This serial port already opened");
    open = true;
    ++opens;
  }
  void ClosePort() override { open = false; }
  bool SendBuffer(const uint8_t* buffer, uint16_t length) override {
    if (!open || length == 0) return false;
    sent.emplace_back(buffer, buffer + length);
    return true;
  }
  std::string CommName() const override { return name; }
  void SetCommName(const std::string& n) override { name = n; }
  bool IsOpen() const override { return open; }
  bool open = false;
  int opens = 0;
  std::string name = "COM2";
  std::vector<std::vector<uint8_t>> sent;
};

// A fresh station bound to fakes; the clock shows 2026-12-08 10:15:02.
struct FakeStation {
  FakeStation();
  StationState st;
  FakeInfoMemo memo;
  std::array<FakeGauge, kPortSlots> gauges;
  std::array<FakeCommPort, kPortSlots> ports;
  FakeBoxes boxes;
  FakeBeeper beeper;
  FakePageControl pages;
  FakeStatusBar status;
  FakeInfoPanel panel;
  FakePortList port_list;
  FixedClock clock{"2026-12-08", "10:15:02"};
};

}  // namespace zek::testing
