#pragma once
// The station as the window wires it, minus the window: ten TComm in the
// ten slot_list with their events bound to the slot routines, the sorted port
// list, recording views, and the 10 ms time-out tick. A test drives it
// through the same routines the window's buttons call and runs the Qt
// event loop until a condition holds or a deadline passes.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "serial/comm_component.h"
#include "station/data/port_list_model.h"
#include "tests/support/fake_views.h"
#include "tests/unit-sim/sim_process.h"

class QEventLoop;

namespace zek::testing {

using namespace std::chrono_literals;
using StepStarter = void (*)(StationState&, int);

// dorvik410-sim serving units into a fresh folder that $ZEK_COM_DIR names.
// The process is stopped with SIGTERM when this goes, whatever happened.
class SimUnits {
 public:
  // Throws std::runtime_error when the simulator does not come up.
  explicit SimUnits(const std::vector<std::string>& args);
  ~SimUnits();
  SimUnits(const SimUnits&) = delete;
  SimUnits& operator=(const SimUnits&) = delete;
  const std::string& Dir() const { return dir_; }
  // The exit status of a SIGTERM stop (0 for a clean exit); once only.
  int Stop();
  // True once the simulator has printed `text` (e.g. "COM1 runs done\n").
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);

 private:
  std::string dir_;
  sim::testing::SimProcess process_;
  bool stopped_ = false;
};

// An image of `kb` KiB that holds 0xC0 and 0xDB often, so escaping is
// exercised, with its sums stored as a loaded file would store them.
void LoadTestImage(StationState& st, uint16_t kb, uint32_t seed);

class StationRig {
 public:
  StationRig();
  ~StationRig();
  StationRig(const StationRig&) = delete;
  StationRig& operator=(const StationRig&) = delete;

  // Fills the sorted port list, as the connection file would.
  void ListPorts(const std::vector<std::string>& names);
  // "Find Device", then runs until `expected` units answered.
  bool FindUnits(int expected, std::chrono::milliseconds limit = 10s);
  // As the window's commands: every connected idle slot gets its receive
  // count and automatic-sequence flag cleared, then the step. Returns the
  // slot_list started.
  std::vector<int> StartOnConnected(StepStarter starter);
  // The window's "Read Chip Memory" road, on any slot.
  void StartReadMain(int slot);

  // Runs the event loop (and the time-out tick) until `done` holds or
  // `limit` passes; the result of `done` at the end.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  bool SlotsIdle(const std::vector<int>& slot_list) const;
  // The messages of the slot's port lines, without time stamp and tag.
  std::vector<std::string> PortMessages(int slot) const;
  std::string LastMessage(int slot) const;

  // Called on every tick of the loop, for peers the test plays itself.
  std::function<void()> on_tick;
  // When the slot's last operation ended (steady clock), and hang-ups seen.
  std::array<std::chrono::steady_clock::time_point, kPortSlots> ended_at{};
  std::array<int, kPortSlots> hangups{};

  FakeStation fs;
  PortListModel port_list;
  std::array<std::unique_ptr<TComm>, kPortSlots> comms;

 private:
  void Timer1Tick();
  void NoteEnd(int slot, bool was_busy);
  void CheckDone();

  QEventLoop* running_ = nullptr;
  const std::function<bool()>* done_ = nullptr;
};

}  // namespace zek::testing
