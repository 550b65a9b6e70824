// RIFF WAVE sound effects.
#include <cstring>

#include "tests/fuzz/FuzzSound.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Only what the loader reads as a wave file; the Ogg target covers the rest.
  if (size < 4 || std::memcmp(data, "RIFF", 4) != 0) return 0;
  return qm::fuzz::LoadAndPlaySound(data, size, "sfx/1.wav");
}
