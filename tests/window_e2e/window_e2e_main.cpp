// In-process station programs need a widgets application; offscreen.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "station/window/error_handler.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  zek::StationApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
