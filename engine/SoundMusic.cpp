// Music slots: a tracker module per slot, rendered by the module library into a looping
// stream of two halves. While a music plays, its producer thread refills the half the
// mixer is not reading; stopping is a handshake so nothing is freed under the thread.
#include <libmodplug/modplug.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <system_error>

#include "engine/Sound.hpp"
#include "engine/SoundState.hpp"

namespace qm {
namespace sound {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(10);
// The song end is checked after every piece this long (256 frames, under 6 ms), so the
// silence before a song starts again stays shorter than that.
constexpr int kPieceBytes = 256 * 4;
constexpr int kEndOfSong = 0xFF;  // the order list's end marker

// The same settings for every music; the library reads them when a module is loaded.
void ApplyModuleSettings() {
  ModPlug_Settings settings;
  ModPlug_GetSettings(&settings);
  settings.mFlags = MODPLUG_ENABLE_OVERSAMPLING | MODPLUG_ENABLE_NOISE_REDUCTION;
  settings.mChannels = kOutputChannels;
  settings.mBits = 16;
  settings.mFrequency = kOutputRate;
  settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
  settings.mStereoSeparation = 128;
  settings.mMaxMixChannels = 32;
  settings.mReverbDepth = 0;
  settings.mBassAmount = 0;
  settings.mSurroundDepth = 0;
  settings.mLoopCount = -1;  // endless: the module restarts from its loop point
  ModPlug_SetSettings(&settings);
}

// Renders one half of the stream (102,400 bytes) from the player at its current master volume.
void RenderHalf(Music& music, int half, std::vector<int16_t>& block) {
  block.assign(size_t(kHalfFrames) * kOutputChannels, 0);
  {
    std::lock_guard<std::mutex> library(ModuleLibraryMutex());
    ModPlug_SetMasterVolume(music.player, unsigned(music.masterVolume.load()));
    char* to = reinterpret_cast<char*>(block.data());
    int left = int(block.size() * sizeof(int16_t));
    bool silent = false;
    while (left > 0) {
      int got = ModPlug_Read(music.player, to, std::min(left, kPieceBytes));
      // Even with endless looping, the library stops at the end of the order list and
      // renders silence from there on: start the song again from its first order.
      if (ModPlug_GetCurrentPattern(music.player) == kEndOfSong) ModPlug_SeekOrder(music.player, 0);
      if (got > 0) {
        to += got;
        left -= got;
        silent = false;
      } else if (silent) {
        break;  // renders nothing even from the start: the rest stays silent
      } else {
        ModPlug_SeekOrder(music.player, 0);
        silent = true;
      }
    }
  }
  {
    DeviceLock lock;
    std::memcpy(music.stream.data() + size_t(half) * kHalfFrames * kOutputChannels, block.data(),
                block.size() * sizeof(int16_t));
  }
  music.halvesRendered.fetch_add(1);
}

// The producer: wakes every 10 ms and refills the half the mixer has left.
void ProduceMusic(Music* music) {
  std::vector<int16_t> block;
  while (music->playing.load()) {
    std::this_thread::sleep_for(kPollInterval);
    int position;
    {
      DeviceLock lock;
      position = music->playFrame;
    }
    bool inFirstHalf = position < kHalfFrames;
    if ((music->nextHalf == 1) == inFirstHalf) {
      RenderHalf(*music, music->nextHalf, block);
      music->nextHalf ^= 1;
    }
  }
  music->threadRunning.store(false);
}

void StopMusic(Music& music) {
  if (music.playing.load()) {
    music.playing.store(false);
    {
      DeviceLock lock;
      music.streaming = false;
    }
    while (music.threadRunning.load()) std::this_thread::sleep_for(kPollInterval);
  }
  if (music.producer.joinable()) music.producer.join();
}

// Empties a slot, stopping its music first.
void FreeMusic(int slot) {
  if (!MusicAt(slot)) return;
  StopMusic(*MusicAt(slot));
  std::unique_ptr<Music> old;
  {
    DeviceLock lock;
    old = std::move(Audio().musics[size_t(slot)]);
  }
  std::lock_guard<std::mutex> library(ModuleLibraryMutex());
  ModPlug_Unload(old->player);
}

}  // namespace

Music* MusicAt(int slot) {
  auto& musics = Audio().musics;
  if (slot < 0 || size_t(slot) >= musics.size()) return nullptr;
  return musics[size_t(slot)].get();
}

void StopAllMusic() {
  for (auto& music : Audio().musics) {
    if (music) StopMusic(*music);
  }
}

void FreeAllMusic() {
  for (size_t slot = 0; slot < Audio().musics.size(); ++slot) FreeMusic(int(slot));
  DeviceLock lock;
  Audio().musics.clear();
}

}  // namespace sound

using namespace sound;

int LoadMusicModule(int slot, const std::string& path) {
  AudioState& audio = Audio();
  if (!audio.device || slot < 0 || slot >= kMaxMusicSlots) return 0;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return 0;
  FreeMusic(slot);
  if (bytes.empty() || bytes.size() > size_t(INT32_MAX)) return 0;

  ModPlugFile* player;
  {
    std::lock_guard<std::mutex> library(ModuleLibraryMutex());
    ApplyModuleSettings();
    player = ModPlug_Load(bytes.data(), int(bytes.size()));
    if (!player) return 0;
    ModPlug_SetMasterVolume(player, kMasterVolumeMax);
  }
  auto music = std::make_unique<Music>();
  music->player = player;
  DeviceLock lock;
  if (size_t(slot) >= audio.musics.size()) {
    audio.musics.resize(size_t(slot / kMusicSlotStep + 1) * kMusicSlotStep);
  }
  audio.musics[size_t(slot)] = std::move(music);
  return 1;
}

int PlayMusicModule(int slot) {
  Music* music = MusicAt(slot);
  if (!music) return 0;
  StopMusic(*music);
  music->playing.store(true);
  std::vector<int16_t> block;
  // The player is not rewound: a music played again goes on where it stopped.
  RenderHalf(*music, 0, block);
  {
    DeviceLock lock;
    music->playFrame = 0;
  }
  music->nextHalf = 1;
  // Set before the thread exists, so a stop that comes at once still waits for it.
  music->threadRunning.store(true);
  try {
    music->producer = std::thread(ProduceMusic, music);
  } catch (const std::system_error&) {
    music->threadRunning.store(false);
    music->playing.store(false);
    return 0;
  }
  DeviceLock lock;
  music->streaming = true;
  return 1;
}

void StopMusicModule(int slot) {
  if (slot == -1) {
    StopAllMusic();
  } else if (Music* music = MusicAt(slot)) {
    StopMusic(*music);
  }
}

void SetMusicModuleVolume(int slot, int volume) {
  Music* music = MusicAt(slot);
  if (!music) return;
  int64_t master = int64_t(volume) * kMasterVolumeMax / 100;
  if (master < 1) master = 1;
  if (master > kMasterVolumeMax) master = kMasterVolumeMax;
  // Heard from the next rendered half.
  music->masterVolume.store(int(master));
}

}  // namespace qm
