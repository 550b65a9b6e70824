// Ogg Vorbis sound effects, decoded whole when they are loaded.
#include <cstring>

#include "tests/fuzz/FuzzSound.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Whatever does not start with "RIFF" is decoded as Ogg Vorbis.
  if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) return 0;
  return qm::fuzz::LoadAndPlaySound(data, size, "sfx/6.ogg");
}
