#include "station/data/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace zek {
namespace {

std::string LocalNow(const char* pattern) {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  char text[32];
  size_t n = std::strftime(text, sizeof text, pattern, &parts);
  return std::string(text, n);
}

class LocalClock final : public Clock {
 public:
  std::string LongTime() const override { return LocalNow("%H:%M:%S"); }
  std::string ShortDate() const override { return LocalNow("%Y-%m-%d"); }
  void Sleep(int milliseconds) const override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

const Clock& SystemClock() {
  static const LocalClock clock;
  return clock;
}

std::string FileNameStamp(const Clock& clock) {
  std::string stamp = clock.ShortDate() + "_" + clock.LongTime();
  for (char& c : stamp)
    if (c == '-' || c == '/' || c == ':') c = '_';
  return stamp;
}

}  // namespace zek
