// Audio inspection hooks for tests. The game itself never calls these.
#include <cstring>

#include "engine/SoundState.hpp"
#include "engine/TestHooks.hpp"

namespace qm {

using namespace sound;

int SoundSlotRate(int slot) {
  DeviceLock lock;
  const Effect* effect = EffectAt(slot);
  return effect ? effect->rate : 0;
}

bool SoundSlotPlaying(int slot) {
  DeviceLock lock;
  const Effect* effect = EffectAt(slot);
  return effect && effect->playing;
}

int MusicSlotMasterVolume(int slot) {
  const Music* music = MusicAt(slot);
  return music ? music->masterVolume.load() : 0;
}

bool MusicSlotPlaying(int slot) {
  const Music* music = MusicAt(slot);
  return music && music->playing.load();
}

bool MusicSlotThreadRunning(int slot) {
  const Music* music = MusicAt(slot);
  return music && music->threadRunning.load();
}

uint64_t MusicSlotHalvesRendered(int slot) {
  const Music* music = MusicAt(slot);
  return music ? music->halvesRendered.load() : 0;
}

void MixAudioForTest(int16_t* out, int frames) {
  AudioState& audio = Audio();
  if (frames < 0) frames = 0;
  if (!audio.device) {
    if (frames) std::memset(out, 0, sizeof(int16_t) * size_t(frames) * kOutputChannels);
    return;
  }
  if (!audio.pulledByTest) {
    SDL_PauseAudioDevice(audio.device, 1);
    audio.pulledByTest = true;
  }
  DeviceLock lock;
  if (frames) MixFrames(audio, out, frames);
}

}  // namespace qm
