#pragma once
// Serves the units of one simulator process: a poll loop over their
// pseudo-terminals and a stop descriptor, moving bytes between each
// terminal and its SimUnit, pacing the output and timing stand-alone runs.

#include <chrono>
#include <memory>
#include <ostream>
#include <vector>

#include "tools/unit-sim/line_pacer.h"
#include "tools/unit-sim/pty_link.h"
#include "tools/unit-sim/sim_options.h"
#include "tools/unit-sim/sim_unit.h"

namespace zek::sim {

class SimServer {
 public:
  // stop_fd: readable once the simulator is to stop.
  SimServer(const SimOptions& options, int stop_fd);
  // Makes every unit's terminal and link and writes "NAME -> /dev/pts/N"
  // for each; throws std::runtime_error (links made so far are removed).
  // Run writes "NAME runs done" to the same log once the unit's last
  // stand-alone run has sent its outcome.
  void Open(std::ostream& log);
  // Serves until stop_fd is readable; the links are removed on return.
  void Run();

 private:
  using Clock = LinePacer::Clock;
  struct Served {
    Served(const SimOptions& o, int index);
    std::string name;
    std::unique_ptr<SimUnit> unit;
    std::unique_ptr<PtyLink> link;
    LinePacer pacer;
    Bytes pending;
    Bytes received;  // every byte the station sent, kept only for a dump
    int runs_started = 0;
    Clock::time_point next_run{}, next_report{};
    Clock::time_point held_until{};  // a late answer waits in `pending`
  };

  void Service(Served& s, Clock::time_point now);
  void Schedule(Served& s, Clock::time_point now);
  void Flush(Served& s, Clock::time_point now);
  void Receive(Served& s);
  int PollTimeoutMs(Clock::time_point now) const;
  void DumpUnits() const;

  const SimOptions& options_;
  int stop_fd_;
  std::ostream* log_ = nullptr;
  std::vector<Served> units_;
};

}  // namespace zek::sim
