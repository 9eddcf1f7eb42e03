// Window tests that need a real window system: each test process starts
// its own X server and runs the station's windows on it, set up as the
// program sets itself up.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "station/window/error_handler.h"
#include "station/window/program.h"
#include "tests/window_x11/private_x_server.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the cases needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  zek::testing::PrivateXServer server;
  setenv("DISPLAY", server.Display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  // The private server comes without a session bus: an address that
  // refuses at once keeps the toolkit from trying to launch one.
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  zek::StationApplication app(argc, argv);
  zek::SetApplicationTitle();
  return RUN_ALL_TESTS();
}
