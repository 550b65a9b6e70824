#include "tests/fuzz/FuzzSound.hpp"

#include <vector>

#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace qm::fuzz {

int LoadAndPlaySound(const uint8_t* data, size_t size, const char* fileName) {
  StartHeadlessAudio();
  constexpr int kSlot = 12;
  std::string path = WriteTempFile(fileName, data, size);
  if (LoadSoundEffect(kSlot, path) == 0) return 0;
  std::vector<int16_t> out(2 * 2048);
  for (int hertz : {0, 12000, 30000}) {
    SetSoundFrequency(kSlot, hertz);
    PlaySoundEffect(kSlot);
    MixAudioForTest(out.data(), 2048);
  }
  return 0;
}

}  // namespace qm::fuzz
