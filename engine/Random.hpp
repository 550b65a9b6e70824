#pragma once
#include <cstdint>

namespace qm {

// Uniform integer 0..m inclusive; m = -1 gives the raw 32-bit step output.
int64_t RandomUpTo(int64_t m);

// Test hook: seeds the source as its first use would, with s = seed.
void SeedRandom(uint32_t seed);

// The whole state of the source, so a level continued later draws what it would have drawn.
struct RandomState {
  uint32_t a[17] = {};
  uint32_t b[17] = {};
  int32_t i = 0, j = 10;
};
RandomState CurrentRandomState();
// Ignored when i or j is outside 0..16.
void RestoreRandomState(const RandomState& state);

}  // namespace qm
