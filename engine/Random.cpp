#include "engine/Random.hpp"

#include <functional>
#include <thread>

#include "engine/Clock.hpp"

namespace qm {
namespace {

// The generator's state, wherever it lives (the one global source, or a stream of its own).
struct Registers {
  uint32_t* a;
  uint32_t* b;
  int& i;
  int& j;
};

struct GlobalSource {
  uint32_t a[17] = {};
  uint32_t b[17] = {};
  int i = 0, j = 10;
  bool seeded = false;
};

// One source per thread: a worker that generates and proves a level draws its own sequence
// and never moves the frame loop's; each thread seeds its own as its first use.
GlobalSource& ThreadSource() {
  thread_local GlobalSource source;
  return source;
}

uint32_t RotateRight(uint32_t v, int n) {
  return (v >> n) | (v << (32 - n));
}

uint32_t Step(Registers r) {
  uint32_t a = RotateRight(r.b[r.i], 13) + r.b[r.j];
  uint32_t b = RotateRight(r.a[r.i], 5) + r.a[r.j];
  r.a[r.i] = a;
  r.b[r.i] = b;
  r.i = r.i == 0 ? 16 : r.i - 1;
  r.j = r.j == 0 ? 16 : r.j - 1;
  return a;
}

void Seed(Registers r, uint32_t seed) {
  uint32_t s = seed;
  for (int k = 0; k < 17; ++k) {
    r.b[k] = 1u - s * 0x53A9B4FBu;
    r.a[k] = 1u - r.b[k] * 0x53A9B4FBu;
    s = r.a[k];
  }
  r.i = 0;
  r.j = 10;
  for (int k = 0; k < 31; ++k) Step(r);
}

int64_t Scale(uint32_t a, int64_t m) {
  if (m == -1) return a;
  // The range is the 32-bit m + 1, as the game's 32-bit maximum gives it.
  uint64_t range = static_cast<uint32_t>(static_cast<uint64_t>(m) + 1);
  return static_cast<int64_t>((static_cast<uint64_t>(a) * range) >> 32);
}

Registers GlobalRegisters() {
  GlobalSource& s = ThreadSource();
  return Registers{s.a, s.b, s.i, s.j};
}

}  // namespace

void SeedRandom(uint32_t seed) {
  Seed(GlobalRegisters(), seed);
  ThreadSource().seeded = true;
}

int64_t RandomUpTo(int64_t m) {
  if (!ThreadSource().seeded) {
    uint32_t thread =
        static_cast<uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    SeedRandom(thread ^ TickCount());
  }
  return Scale(Step(GlobalRegisters()), m);
}

RandomState CurrentRandomState() {
  if (!ThreadSource().seeded) RandomUpTo(-1);  // the first use seeds it
  const GlobalSource& s = ThreadSource();
  RandomState state;
  for (int k = 0; k < 17; ++k) {
    state.a[k] = s.a[k];
    state.b[k] = s.b[k];
  }
  state.i = s.i;
  state.j = s.j;
  return state;
}

void RestoreRandomState(const RandomState& state) {
  if (state.i < 0 || state.i > 16 || state.j < 0 || state.j > 16) return;
  GlobalSource& s = ThreadSource();
  for (int k = 0; k < 17; ++k) {
    s.a[k] = state.a[k];
    s.b[k] = state.b[k];
  }
  s.i = state.i;
  s.j = state.j;
  s.seeded = true;
}

RandomStream::RandomStream(uint32_t seed) {
  Seed(Registers{a_, b_, i_, j_}, seed);
}

RandomStream::RandomStream(const RandomState& state) {
  if (state.i < 0 || state.i > 16 || state.j < 0 || state.j > 16) {
    Seed(Registers{a_, b_, i_, j_}, 0);
    return;
  }
  for (int k = 0; k < 17; ++k) {
    a_[k] = state.a[k];
    b_[k] = state.b[k];
  }
  i_ = state.i;
  j_ = state.j;
}

RandomState RandomStream::State() const {
  RandomState state;
  for (int k = 0; k < 17; ++k) {
    state.a[k] = a_[k];
    state.b[k] = b_[k];
  }
  state.i = i_;
  state.j = j_;
  return state;
}

int64_t RandomStream::UpTo(int64_t m) {
  return Scale(Step(Registers{a_, b_, i_, j_}), m);
}

}  // namespace qm
