// Writes the demo project file: make_demo_project PATH [KIB]
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tools/demo-station/demo_project.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_demo_project PATH [KIB]\n");
    return 2;
  }
  const long kb = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 96;
  if (kb < 1 || kb > 2048) {
    std::fprintf(stderr, "make_demo_project: KIB must be 1-2048\n");
    return 2;
  }
  try {
    zek::demo::WriteDemoProject(argv[1], static_cast<uint16_t>(kb));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_project: %s\n", e.what());
    return 1;
  }
  return 0;
}
