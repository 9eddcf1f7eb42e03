#include "tests/window_x11/x_desktop.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace zek::testing {
namespace {

// ICCCM WM_STATE values.
constexpr uint32_t kNormalState = 1;
constexpr uint32_t kIconicState = 3;

}  // namespace

XDesktop::XDesktop() : c_(xcb_connect(nullptr, nullptr)) {
  if (xcb_connection_has_error(c_) != 0) {
    xcb_disconnect(c_);
    throw std::runtime_error("cannot connect to the X server");
  }
}

XDesktop::~XDesktop() { xcb_disconnect(c_); }

xcb_atom_t XDesktop::Atom(const char* name) {
  auto cookie = xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c_, cookie, nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

std::string XDesktop::TextProperty(xcb_window_t window, const char* property) {
  auto cookie = xcb_get_property(c_, 0, window, Atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(c_, cookie, nullptr);
  std::string text;
  if (reply != nullptr && reply->format == 8)
    text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                static_cast<size_t>(xcb_get_property_value_length(reply)));
  std::free(reply);
  return text;
}

void XDesktop::SetWmState(xcb_window_t window, uint32_t state) {
  const xcb_atom_t wm_state = Atom("WM_STATE");
  const uint32_t data[2] = {state, XCB_WINDOW_NONE};  // state, icon window
  xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, wm_state, wm_state, 32, 2, data);
}

void XDesktop::Iconify(xcb_window_t window) {
  xcb_unmap_window(c_, window);
  SetWmState(window, kIconicState);
  xcb_flush(c_);
}

void XDesktop::Restore(xcb_window_t window) {
  xcb_map_window(c_, window);
  SetWmState(window, kNormalState);
  xcb_flush(c_);
}

}  // namespace zek::testing
