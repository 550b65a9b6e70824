#include "engine/Random.hpp"

#include <functional>
#include <thread>

#include "engine/Clock.hpp"

namespace qm {
namespace {

struct RandomSource {
  uint32_t a[17] = {};
  uint32_t b[17] = {};
  int i = 0, j = 10;
  bool seeded = false;
};

// One source per thread: a worker that generates and proves a level draws its own sequence
// and never moves the frame loop's; each thread seeds its own as its first use.
thread_local RandomSource gSource;

uint32_t RotateRight(uint32_t v, int n) { return (v >> n) | (v << (32 - n)); }

uint32_t Step(RandomSource& r) {
  uint32_t a = RotateRight(r.b[r.i], 13) + r.b[r.j];
  uint32_t b = RotateRight(r.a[r.i], 5) + r.a[r.j];
  r.a[r.i] = a;
  r.b[r.i] = b;
  r.i = r.i == 0 ? 16 : r.i - 1;
  r.j = r.j == 0 ? 16 : r.j - 1;
  return a;
}

}  // namespace

void SeedRandom(uint32_t seed) {
  RandomSource& r = gSource;
  uint32_t s = seed;
  for (int k = 0; k < 17; ++k) {
    r.b[k] = 1u - s * 0x53A9B4FBu;
    r.a[k] = 1u - r.b[k] * 0x53A9B4FBu;
    s = r.a[k];
  }
  r.i = 0;
  r.j = 10;
  for (int k = 0; k < 31; ++k) Step(r);
  r.seeded = true;
}

RandomState CurrentRandomState() {
  if (!gSource.seeded) RandomUpTo(-1);  // the first use seeds it
  RandomState state;
  for (int k = 0; k < 17; ++k) {
    state.a[k] = gSource.a[k];
    state.b[k] = gSource.b[k];
  }
  state.i = gSource.i;
  state.j = gSource.j;
  return state;
}

void RestoreRandomState(const RandomState& state) {
  if (state.i < 0 || state.i > 16 || state.j < 0 || state.j > 16) return;
  for (int k = 0; k < 17; ++k) {
    gSource.a[k] = state.a[k];
    gSource.b[k] = state.b[k];
  }
  gSource.i = state.i;
  gSource.j = state.j;
  gSource.seeded = true;
}

int64_t RandomUpTo(int64_t m) {
  if (!gSource.seeded) {
    uint32_t thread = static_cast<uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    SeedRandom(thread ^ TickCount());
  }
  uint32_t a = Step(gSource);
  if (m == -1) return a;
  // The range is the 32-bit m + 1, as the game's 32-bit maximum gives it.
  uint64_t range = static_cast<uint32_t>(static_cast<uint64_t>(m) + 1);
  return static_cast<int64_t>((static_cast<uint64_t>(a) * range) >> 32);
}

}  // namespace qm
