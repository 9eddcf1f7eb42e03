#pragma once
// What both end-to-end benchmarks take on their command line: how many
// units (--units N, 1 to 10) and how large an image (--kb K, 4 to 2048).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "station/data/station_state.h"

namespace zek::bench {

struct RunOptions {
  int units = 10;
  uint16_t kb = 128;
};

inline RunOptions ParseRunOptions(int argc, char** argv) {
  RunOptions o;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--units") == 0) o.units = std::clamp(std::atoi(argv[i + 1]), 1, kPortSlots);
    if (std::strcmp(argv[i], "--kb") == 0) o.kb = static_cast<uint16_t>(std::clamp(std::atoi(argv[i + 1]), 4, 2048));
  }
  return o;
}

// The units' line names, COM1 onwards.
inline std::vector<std::string> LineNames(int units) {
  std::vector<std::string> names;
  for (int i = 1; i <= units; ++i) names.push_back("COM" + std::to_string(i));
  return names;
}

}  // namespace zek::bench
