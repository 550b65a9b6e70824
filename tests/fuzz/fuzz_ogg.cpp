// Ogg Vorbis sound effects, decoded whole when they are loaded.
#include "tests/fuzz/FuzzSound.hpp"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Whatever does not start with "RIFF" is decoded as Ogg Vorbis.
  if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) return 0;
  return qm::fuzz::LoadAndPlaySound(data, size, "sfx/6.ogg");
}
