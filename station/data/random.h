#pragma once
// The program-wide pseudo-random generator: seed 0 at start, never
// re-seeded, so every run draws the same sequence.

#include <cstdint>

namespace zek {

class RandomGenerator {
 public:
  // A value in [0, n): seed := seed * 134775813 + 1, then the high 32 bits
  // of n * seed.
  uint32_t Below(uint32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(n) * seed_) >> 32);
  }
  uint32_t Seed() const { return seed_; }

 private:
  uint32_t seed_ = 0;
};

}  // namespace zek
