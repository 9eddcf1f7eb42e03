#pragma once
// A station folder in a scratch directory (the program, a firmware file,
// the demo project) beside simulated units that the station finds as USB
// serial ports, and the station program run from it as a process.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/data/temp_dir.h"
#include "tests/e2e/station_rig.h"

namespace zek::testing {

inline constexpr uint16_t kDemoKB = 96;

class StationFolder {
 public:
  // Starts `units` simulated units with the extra simulator arguments;
  // they dump their downloads into DumpDir() when stopped. `program` is the
  // executable the folder runs (the English edition unless told).
  StationFolder(int units, const std::vector<std::string>& sim_args = {}, const std::string& program = STATION_EXE);
  ~StationFolder();

  std::string Path(const std::string& name) const { return dir_.File(name); }
  std::string DumpDir() const { return dir_.File("dump"); }
  std::string Project() const { return dir_.File("demo.RQT"); }
  SimUnits& Units() { return *units_; }
  // Lines of the newest system-named log file; none when there is none.
  std::optional<std::vector<std::string>> NewestLog() const;

  // Runs the program with the arguments; its exit status, or nothing when
  // it was still running at `limit` (it is then ended).
  std::optional<int> Run(const std::vector<std::string>& arguments, std::chrono::milliseconds limit);

 private:
  void ListUnitsAsUsbPorts(int units);
  TempDir dir_;
  std::unique_ptr<SimUnits> units_;
};

}  // namespace zek::testing
