// Tracker modules: loaded, played (the first half of the stream is rendered at once) and
// stopped, the way the menus and each level start their music.
#include <vector>

#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  fuzz::StartHeadlessAudio();
  constexpr int kSlot = 1;
  std::string path = fuzz::WriteTempFile("zik/1.mod", data, size);
  if (LoadMusicModule(kSlot, path) == 0) return 0;
  SetMusicModuleVolume(kSlot, 80);
  if (PlayMusicModule(kSlot) != 0) {
    std::vector<int16_t> out(2 * 1024);
    MixAudioForTest(out.data(), 1024);
  }
  StopMusicModule(kSlot);
  return 0;
}
