#pragma once
// The command line of dorvik410-sim.

#include <string>
#include <vector>

#include "tools/unit-sim/sim_unit.h"
#include "tools/unit-sim/unit_faults.h"

namespace zek::sim {

struct SimOptions {
  std::vector<std::string> names;  // link names, COM1..COMn by default
  std::string dir;                 // folder of the links ($ZEK_COM_DIR)
  bool paced = true;               // 1,000,000 baud, 11 bits a byte
  UnitConfig unit;                 // shared by every unit; serial is per unit
  std::vector<Fault> faults;
  int runs = 0;                    // stand-alone runs per unit after 0x8A
  int run_gap_ms = 500;            // between two runs of a unit
  int report_gap_ms = 20;          // between two reports of a run
  int ng_every = 0;                // every n-th run ends NG (0: none)
  uint8_t ng_status = 0x4A;
  std::string dump_dir;             // at stop: each unit's download and chip flash
  bool help = false;
};

// Parses argv; on failure returns false with the reason in `error`.
// `env_dir` is $ZEK_COM_DIR or null.
bool ParseSimOptions(int argc, char** argv, const char* env_dir, SimOptions& out, std::string& error);

std::string SimUsage();

}  // namespace zek::sim
