#pragma once
// A station folder in a scratch directory (the program, a firmware file,
// the demo project) beside simulated units that the station finds as USB
// serial ports, and the station program run from it as a process.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/data/temp_dir.h"
#include "tests/e2e/station_rig.h"

class QProcess;

namespace zek::testing {

inline constexpr uint16_t kDemoKB = 96;

// How the station program is started.
struct StationLaunch {
  std::vector<std::string> arguments;
  std::string program;  // empty: the folder's own
  // Empty: the program by its path. Else the program's bare name
  // given to a shell with this PATH, as a user types it.
  std::string search_path;
  std::string working_dir;  // empty: the test's
  // Added to the environment (the offscreen platform unless told).
  std::map<std::string, std::string> env;
  // Runs in the started process before the program (limits, signals).
  std::function<void()> in_child;
};

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
  std::optional<int> Run(const StationLaunch& launch, std::chrono::milliseconds limit);

 private:
  void ListUnitsAsUsbPorts(int units);
  TempDir dir_;
  std::unique_ptr<SimUnits> units_;
};

// The station program running; ended when this goes.
class StationProcess {
 public:
  StationProcess(StationFolder& folder, const StationLaunch& launch);
  ~StationProcess();
  // Runs until `done` holds; false when the program ended or `limit` came
  // first.
  bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);
  void Signal(int signo);
  // Its process id while it runs.
  long Pid() const;
  // Its exit status; nothing when it did not exit on its own by `limit` (a
  // signal or a crash ended it, or it was still running and is ended).
  std::optional<int> Finish(std::chrono::milliseconds limit);

 private:
  std::unique_ptr<QProcess> process_;
};

}  // namespace zek::testing
