#pragma once
// Faults a unit can be told to commit, each tied to a step (and to one
// block of a multi-block step when given).
//   Status   answer the step with this status instead of doing it
//   BadCheck answer normally but with a wrong 16-bit check
//   Silence  do nothing and answer nothing
//   Garbage  send this many bytes that are no frame (no 0xC0) before the answer
//   HangUp   drop the line instead of answering; the unit is gone
//   Late     answer this many milliseconds late
// Text form: [UNIT:]STEP[@BLOCK][=VALUE], e.g. "program@8=44",
// "2:verify=52", "any=16" (garbage before every answer), "3:identity=1500"
// (late).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/unit-sim/unit_steps.h"

namespace zek::sim {

enum class FaultKind : uint8_t { Status, BadCheck, Silence, Garbage, HangUp, Late };

struct Fault {
  FaultKind kind = FaultKind::Status;
  Step step = Step::Any;
  int block = -1;       // -1: every block
  uint16_t value = 0;   // the status, the number of garbage bytes, or the delay in ms
  int unit = -1;        // 1-based unit of a command line; -1: every unit
};

class FaultTable {
 public:
  void Add(const Fault& f) { faults_.push_back(f); }
  void Clear() { faults_.clear(); }
  // The first fault of this kind that matches the command, or null.
  const Fault* Find(FaultKind kind, const Command& c) const;
  // Like Find, but only faults that name the step itself (not "any"):
  // the stand-alone runs use it.
  const Fault* FindNamed(FaultKind kind, Step step) const;

 private:
  std::vector<Fault> faults_;
};

// Parses the text form; on failure returns nullopt and says why in `error`.
// Status, Garbage and Late need a value; the other kinds take none.
std::optional<Fault> ParseFault(FaultKind kind, std::string_view text, std::string& error);

}  // namespace zek::sim
