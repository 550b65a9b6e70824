#pragma once
#include <cstdint>

namespace qm {

// Uniform integer 0..m inclusive; m = -1 gives the raw 32-bit step output.
int64_t RandomUpTo(int64_t m);

// Test hook: seeds the source as its first use would, with s = seed.
void SeedRandom(uint32_t seed);

}  // namespace qm
