#pragma once
// Waiting for the event loop in window tests: runs it until a condition
// holds, with a generous limit so a fault fails instead of hanging.

#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>

namespace zek::testing {

inline bool RunEventsUntil(const std::function<bool()>& done, int limit_ms = 10000) {
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  while (!done()) {
    if (clock.elapsed() > limit_ms) return false;
    loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}

}  // namespace zek::testing
