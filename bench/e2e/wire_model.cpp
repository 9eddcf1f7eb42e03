#include "bench/e2e/wire_model.h"

#include <algorithm>

namespace zek::bench {
namespace {

constexpr auto kByte = std::chrono::duration_cast<WireModel::Clock::duration>(WireModel::kByteTime);

}  // namespace

void WireModel::Put(const uint8_t* bytes, size_t n, Clock::time_point now) {
  if (n == 0) return;
  bytes_.insert(bytes_.end(), bytes, bytes + n);
  Clock::time_point start = std::max(now, busy_until_);
  segments_.push_back({start, n});
  busy_until_ = start + static_cast<Clock::rep>(n) * kByte;
}

size_t WireModel::Arrived(Clock::time_point now) const {
  if (!paced_) return bytes_.size();
  size_t n = 0;
  for (const Segment& s : segments_) {
    if (now < s.start + kByte) break;
    size_t crossed = static_cast<size_t>((now - s.start) / kByte);
    n += std::min(crossed, s.count);
    if (crossed < s.count) break;
  }
  return n;
}

void WireModel::Take(size_t n) {
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<ptrdiff_t>(n));
  while (n > 0 && !segments_.empty()) {
    Segment& s = segments_.front();
    size_t k = std::min(n, s.count);
    s.count -= k;
    s.start += static_cast<Clock::rep>(k) * kByte;
    n -= k;
    if (s.count == 0) segments_.pop_front();
  }
}

WireModel::Clock::time_point WireModel::NextArrival(Clock::time_point now) const {
  if (!paced_ || segments_.empty()) return now;
  return std::max(now, segments_.front().start + kByte);
}

}  // namespace zek::bench
