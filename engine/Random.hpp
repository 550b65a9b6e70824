#pragma once
#include <cstdint>

namespace qm {

// Uniform integer 0..m inclusive; m = -1 gives the raw 32-bit step output.
int64_t RandomUpTo(int64_t m);

// The whole state of a generator, so a level continued later draws what it would have drawn.
struct RandomState {
  uint32_t a[17] = {};
  uint32_t b[17] = {};
  int32_t i = 0, j = 10;
};

// A random stream of its own, with the same generator as RandomUpTo: what it gives depends
// only on its seed and on how many numbers were drawn from it, never on the frame timing or
// on the drawing's numbers (generated levels and the daily's deals).
class RandomStream {
 public:
  explicit RandomStream(uint32_t seed);
  // Goes on from a state taken by State(); i or j outside 0..16 gives the stream of seed 0.
  explicit RandomStream(const RandomState& state);
  int64_t UpTo(int64_t m);  // as RandomUpTo
  RandomState State() const;

 private:
  uint32_t a_[17] = {};
  uint32_t b_[17] = {};
  int i_ = 0, j_ = 10;
};

// Test hook: seeds the source as its first use would, with s = seed.
void SeedRandom(uint32_t seed);

// The game's one source.
RandomState CurrentRandomState();
// Ignored when i or j is outside 0..16.
void RestoreRandomState(const RandomState& state);

}  // namespace qm
