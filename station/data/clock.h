#pragma once
// Time stamps for log lines and file names. Injectable so tests fix the time.

#include <string>
#include <vector>

namespace zek {

class Clock {
 public:
  virtual ~Clock() = default;
  // The long time format: "HH:MM:SS".
  virtual std::string LongTime() const = 0;
  // The short date format: "YYYY-MM-DD".
  virtual std::string ShortDate() const = 0;
  // Blocks the calling thread for a short, fixed wait.
  virtual void Sleep(int milliseconds) const = 0;
};

// The machine's local time.
const Clock& SystemClock();

// The date and time for a log file's name: "<date>_<time>" with every
// '-', '/' and ':' turned into '_'.
std::string FileNameStamp(const Clock& clock);

// A clock that always shows the same moment and never waits.
class FixedClock final : public Clock {
 public:
  FixedClock(std::string date, std::string time) : date_(std::move(date)), time_(std::move(time)) {}
  std::string LongTime() const override { return time_; }
  std::string ShortDate() const override { return date_; }
  // Records the wait instead of sleeping.
  void Sleep(int milliseconds) const override { sleeps.push_back(milliseconds); }
  void Set(std::string date, std::string time) {
    date_ = std::move(date);
    time_ = std::move(time);
  }

 private:
  std::string date_, time_;

 public:
  mutable std::vector<int> sleeps;
};

}  // namespace zek
