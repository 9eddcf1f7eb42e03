#pragma once
// An information log that keeps only its last lines, so a long fuzzing run
// stays small.

#include <deque>
#include <string>
#include <vector>

#include "station/data/views.h"

namespace zek::fuzzing {

class BoundedMemo : public InfoMemoView {
 public:
  void AppendLine(const std::string& line) override {
    lines_.push_back(line);
    if (lines_.size() > 64) lines_.pop_front();
  }
  std::vector<std::string> Lines() const override { return {lines_.begin(), lines_.end()}; }
  void Clear() override { lines_.clear(); }

 private:
  std::deque<std::string> lines_;
};

class PlainGauge : public GaugeView {
 public:
  void SetMax(int m) override { max_ = m; }
  void SetProgress(int p) override { progress_ = p; }
  int Max() const override { return max_; }
  int Progress() const override { return progress_; }
  void SetColor(GaugeColor) override {}
  void SetEnabled(bool) override {}
  void SetVisible(bool) override {}

 private:
  int max_ = 100, progress_ = 0;
};

}  // namespace zek::fuzzing
