#include "tests/window_x11/x_window_fixture.h"

#include <QEvent>
#include <QWindow>

#include "tests/window/window_events.h"

namespace zek::testing {
namespace {

// Counts the show events the window system sends a widget.
class ShowsFromWindowSystem : public QObject {
 public:
  explicit ShowsFromWindowSystem(QWidget& widget) : widget_(widget) { widget_.installEventFilter(this); }
  ~ShowsFromWindowSystem() override { widget_.removeEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show && event->spontaneous()) ++count;
    return false;
  }

 private:
  QWidget& widget_;
};

}  // namespace

bool XWindowTest::Exposed(QWidget& window) {
  return RunEventsUntil([&] { return window.windowHandle() != nullptr && window.windowHandle()->isExposed(); });
}

bool XWindowTest::MinimiseAndRestore(QWidget& window) {
  if (!Exposed(window)) return false;
  ShowsFromWindowSystem shows(window);
  desktop.Iconify(static_cast<xcb_window_t>(window.winId()));
  if (!RunEventsUntil([&] { return window.isMinimized(); })) return false;
  desktop.Restore(static_cast<xcb_window_t>(window.winId()));
  return RunEventsUntil([&] { return shows.count > 0 && !window.isMinimized(); }) && Exposed(window);
}

std::string XWindowTest::Title(QWidget& window) {
  if (!Exposed(window)) return "(never shown)";
  return desktop.TextProperty(static_cast<xcb_window_t>(window.winId()), "_NET_WM_NAME");
}

}  // namespace zek::testing
