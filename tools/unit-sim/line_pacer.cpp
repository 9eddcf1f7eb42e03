#include "tools/unit-sim/line_pacer.h"

#include <algorithm>
#include <limits>

namespace zek::sim {

size_t LinePacer::Allowance(Clock::time_point now) const {
  if (!paced_) return std::numeric_limits<size_t>::max();
  auto queued = std::max(line_free_ - now, Clock::duration::zero());
  if (queued >= kLead) return 0;
  return static_cast<size_t>((kLead - queued) / kByteTime);
}

void LinePacer::Wrote(size_t n, Clock::time_point now) {
  if (!paced_) return;
  line_free_ = std::max(line_free_, now) + n * std::chrono::duration_cast<Clock::duration>(kByteTime);
}

LinePacer::Clock::time_point LinePacer::NextSlot(Clock::time_point now) const {
  if (!paced_ || Allowance(now) > 0) return now;
  return line_free_ - std::chrono::duration_cast<Clock::duration>(kLead) +
         std::chrono::duration_cast<Clock::duration>(kByteTime);
}

}  // namespace zek::sim
