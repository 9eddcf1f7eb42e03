#pragma once
// A station program made for a test (WindowTest) whose windows live on the
// test process's private X server, with the test acting as the operator's
// desktop.

#include <QWidget>
#include <string>

#include "tests/window/window_fixture.h"
#include "tests/window_x11/x_desktop.h"

namespace zek::testing {

class XWindowTest : public WindowTest {
 protected:
  // Waits until the window system has mapped and exposed the window.
  bool Exposed(QWidget& window);
  // Minimises and restores the window through the window system; true
  // once the window system has shown it again.
  bool MinimiseAndRestore(QWidget& window);
  // The title the window system holds for the window.
  std::string Title(QWidget& window);

  XDesktop desktop;
};

}  // namespace zek::testing
