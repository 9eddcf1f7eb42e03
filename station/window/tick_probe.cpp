#include "station/window/tick_probe.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zek {
namespace {

double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return s(u.ru_utime) + s(u.ru_stime);
}

}  // namespace

TickProbe::TickProbe() {
  const char* path = std::getenv("ZEK_TICK_PROBE");
  if (path != nullptr) path_ = path;
}

void TickProbe::Tick(bool any_busy) {
  if (path_.empty()) return;
  const Clock::time_point now = Clock::now();
  if (busy_) {
    max_gap_ms_ = std::max(max_gap_ms_, std::chrono::duration<double, std::milli>(now - last_tick_).count());
    ++busy_ticks_;
    last_busy_ = now;
    cpu_last_ = ProcessCpuSeconds();
  } else if (any_busy && busy_ticks_ == 0) {
    first_busy_ = last_busy_ = now;
    cpu_first_ = cpu_last_ = ProcessCpuSeconds();
  }
  busy_ = any_busy;
  last_tick_ = now;
}

TickProbe::~TickProbe() {
  if (path_.empty()) return;
  if (std::FILE* f = std::fopen(path_.c_str(), "w")) {
    std::fprintf(f, "busy_s=%.6f cpu_busy_s=%.6f max_tick_gap_ms=%.3f busy_ticks=%ld\n",
                 std::chrono::duration<double>(last_busy_ - first_busy_).count(), cpu_last_ - cpu_first_,
                 max_gap_ms_, busy_ticks_);
    std::fclose(f);
  }
}

}  // namespace zek
