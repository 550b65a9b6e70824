#pragma once
// SplitMix64: the same numbers on every run and every compiler, unlike <random>'s
// distributions. The pictures and the sounds both draw from it.
#include <cstdint>

namespace qm::assets {

class SplitMix {
 public:
  explicit SplitMix(uint64_t state) : state_(state) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Unit() {  // [0, 1)
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  uint64_t state_;
};

}  // namespace qm::assets
