#pragma once
// The test's own connection to the X server: reads what the window system
// holds about a window, and does to it what a window manager does when the
// operator minimises and restores it.

#include <xcb/xcb.h>

#include <string>

namespace zek::testing {

class XDesktop {
 public:
  XDesktop();  // connects to DISPLAY; throws std::runtime_error when it cannot
  ~XDesktop();
  XDesktop(const XDesktop&) = delete;
  XDesktop& operator=(const XDesktop&) = delete;

  // The window's text property (e.g. "_NET_WM_NAME", "WM_NAME"), as stored.
  std::string TextProperty(xcb_window_t window, const char* property);
  // ICCCM iconify and de-iconify as a window manager performs them: the
  // window is unmapped and its WM_STATE becomes Iconic, then it is mapped
  // again and its WM_STATE becomes Normal.
  void Iconify(xcb_window_t window);
  void Restore(xcb_window_t window);

 private:
  xcb_atom_t Atom(const char* name);
  void SetWmState(xcb_window_t window, uint32_t state);
  xcb_connection_t* c_;
};

}  // namespace zek::testing
