// Writes a programmer firmware file that the station loads and the
// simulated units accept: make_demo_firmware PATH
#include <cstdio>
#include <exception>

#include "tests/support/firmware_fixture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_firmware PATH\n");
    return 2;
  }
  zek::testing::FirmwareRecipe recipe;
  recipe.image.resize(16 * 1024);
  for (size_t i = 0; i < recipe.image.size(); ++i) recipe.image[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
  try {
    zek::testing::WriteBytes(argv[1], zek::testing::BuildFirmwareFile(recipe));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_firmware: %s\n", e.what());
    return 1;
  }
  return 0;
}
