#include "station/data/views.h"

namespace zek {
namespace {

class NullViews final : public InfoMemoView,
                        public GaugeView,
                        public MessageBoxView,
                        public BeepView,
                        public PageControlView,
                        public StatusBarView,
                        public InfoPanelView,
                        public PortListView,
                        public ReadBackView {
 public:
  void AppendLine(const std::string&) override {}
  std::vector<std::string> Lines() const override { return {}; }
  void Clear() override {}
  void SetMax(int) override {}
  void SetProgress(int) override {}
  int Max() const override { return 0; }
  int Progress() const override { return 0; }
  void SetColor(GaugeColor) override {}
  void SetEnabled(bool) override {}
  void SetVisible(bool) override {}
  void Information(const std::string&) override {}
  void Warning(const std::string&) override {}
  BoxChoice ErrorOkAbort(const std::string&) override { return BoxChoice::Ok; }
  void Plain(const std::string&) override {}
  void Beep() override {}
  void ShowFirstTab() override {}
  void SetPanelText(int, const std::string&) override {}
  void SetCaption(const std::string&) override {}
  std::vector<std::string> Items() const override { return {}; }
  void AddItem(const std::string&) override {}
  void DeleteItem(int) override {}
  void ClearItems() override {}
  void SetText(const std::string&) override {}
  std::string Text() const override { return {}; }
  void ShowReadMainData() override {}
  void ShowReadEepData() override {}
};

// Shared by every station without a window; it holds no state.
NullViews& Null() {
  static NullViews views;
  return views;
}

}  // namespace

StationViews::StationViews()
    : Boxes(&Null()),
      Beeper(&Null()),
      ViewPageCtrl(&Null()),
      StatusBar(&Null()),
      InfoPanel(&Null()),
      ComboBoxCOM(&Null()),
      ReadBack(&Null()) {}

InfoMemoView& NullInfoMemo() { return Null(); }
GaugeView& NullGauge() { return Null(); }

}  // namespace zek
