// The audio device and the sound effect slots. Music slots live in SoundMusic.cpp.
#include "engine/Sound.hpp"

#include <libmodplug/modplug.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "engine/Files.hpp"
#include "engine/SoundDecode.hpp"
#include "engine/SoundState.hpp"

namespace qm {
namespace sound {

namespace {

// A file larger than this is not a sound the game could hold.
constexpr uintmax_t kMaxFileBytes = uintmax_t(512) << 20;

// Every level start loads the same sound files again; decoding an Ogg Vorbis file costs far
// more than reading it. The last decoded copy of each file is kept and used again while the
// file's bytes are unchanged, so the sounds stay exactly what a fresh decode gives.
struct DecodedFile {
  std::vector<uint8_t> bytes;
  DecodedSound sound;
};
constexpr size_t kMaxRememberedFiles = 16;
constexpr size_t kMaxRememberedSamples = size_t(8) << 20;  // larger sounds are decoded each time

std::map<std::string, DecodedFile>& DecodedFiles() {
  static std::map<std::string, DecodedFile> files;
  return files;
}

bool DecodeRemembered(const std::string& path, std::vector<uint8_t>& bytes, DecodedSound& out) {
  auto& files = DecodedFiles();
  auto known = files.find(path);
  if (known != files.end() && known->second.bytes == bytes) {
    out = known->second.sound;
    return true;
  }
  if (known != files.end()) files.erase(known);
  if (!DecodeSoundFile(bytes.data(), bytes.size(), out)) return false;
  if (out.samples.size() <= kMaxRememberedSamples) {
    if (files.size() >= kMaxRememberedFiles) files.clear();
    files[path] = DecodedFile{std::move(bytes), out};
  }
  return true;
}

void DeviceCallback(void* /*unused*/, Uint8* stream, int length) {
  MixFrames(Audio(), reinterpret_cast<int16_t*>(stream),
            length / int(sizeof(int16_t) * kOutputChannels));
}

}  // namespace

AudioState::~AudioState() {
  for (auto& music : musics) {
    if (music) music->playing.store(false);
  }
  for (auto& music : musics) {
    if (music && music->producer.joinable()) music->producer.join();
  }
  if (device) SDL_CloseAudioDevice(device);
  device = 0;
  for (auto& music : musics) {
    if (music) ModPlug_Unload(music->player);
  }
}

AudioState& Audio() {
  static AudioState state;
  return state;
}

DeviceLock::DeviceLock() : device_(Audio().device) {
  if (device_) SDL_LockAudioDevice(device_);
}
DeviceLock::~DeviceLock() {
  if (device_) SDL_UnlockAudioDevice(device_);
}

std::mutex& ModuleLibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

bool ReadWholeFile(const std::string& gamePath, std::vector<uint8_t>& bytes) {
  std::filesystem::path host(HostPath(gamePath));
  std::error_code error;
  if (!std::filesystem::is_regular_file(host, error)) return false;
  uintmax_t size = std::filesystem::file_size(host, error);
  if (error || size > kMaxFileBytes) return false;
  std::ifstream in(host, std::ios::binary);
  if (!in) return false;
  bytes.resize(size_t(size));
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
  bytes.resize(size_t(in.gcount()));
  return !in.bad();
}

Effect* EffectAt(int slot) {
  auto& effects = Audio().effects;
  if (slot < 0 || size_t(slot) >= effects.size()) return nullptr;
  return effects[size_t(slot)].get();
}

}  // namespace sound

using namespace sound;

namespace {

SDL_AudioDeviceID OpenOutput() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec want{};
  want.freq = kOutputRate;
  want.format = AUDIO_S16SYS;
  want.channels = kOutputChannels;
  want.samples = 1024;
  want.callback = DeviceCallback;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the output really takes.
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!device) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return device;
}

}  // namespace

int InitSound() {
  AudioState& audio = Audio();
  if (audio.device) return 1;
  audio.device = OpenOutput();
  if (!audio.device) {
    // No sound output (no card, no sound server): the game is still playable, silently,
    // so go on with SDL's silent driver rather than refuse to start.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    audio.device = OpenOutput();
  }
  if (!audio.device) return 0;
  audio.pulledByTest = false;
  audio.owner = std::this_thread::get_id();
  SDL_PauseAudioDevice(audio.device, 0);
  return 1;
}

int LoadSoundEffect(int slot, const std::string& path) {
  AudioState& audio = Audio();
  if (!audio.device || slot < 0 || slot >= kMaxEffectSlots) return 0;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return 0;
  DecodedSound decoded;
  if (!DecodeRemembered(path, bytes, decoded)) return 0;
  bytes = {};

  auto effect = std::make_unique<Effect>();
  effect->channels = decoded.channels;
  effect->frames = decoded.Frames();
  effect->fileRate = decoded.rate;
  effect->rate = decoded.rate;
  effect->samples = std::move(decoded.samples);

  std::unique_ptr<Effect> old;
  {
    DeviceLock lock;
    if (size_t(slot) >= audio.effects.size()) {
      audio.effects.resize(size_t(slot / kEffectSlotStep + 1) * kEffectSlotStep);
    }
    old = std::move(audio.effects[size_t(slot)]);
    audio.effects[size_t(slot)] = std::move(effect);
  }
  return 1;  // the old sound is freed here, outside the device lock
}

void PlaySoundEffect(int slot) {
  // Only the thread that opened the sound plays effects: rules played on a worker thread (a
  // level being proven) stay silent.
  if (Audio().device && Audio().owner != std::this_thread::get_id()) return;
  DeviceLock lock;
  if (Effect* effect = EffectAt(slot)) {
    effect->position = 0;
    effect->playing = true;
  }
}

void SetSoundFrequency(int slot, int hertz) {
  DeviceLock lock;
  Effect* effect = EffectAt(slot);
  if (!effect) return;
  if (hertz == 0) {
    effect->rate = effect->fileRate;
  } else if (hertz >= kMinRate && hertz <= kMaxRate) {
    effect->rate = hertz;
  }  // a rate the device cannot play leaves the current one
}

void ShutdownSound() {
  AudioState& audio = Audio();
  StopAllMusic();
  FreeAllMusic();
  std::vector<std::unique_ptr<Effect>> effects;
  {
    DeviceLock lock;
    effects.swap(audio.effects);
  }
  effects.clear();
  DecodedFiles().clear();
  if (audio.device) {
    SDL_CloseAudioDevice(audio.device);
    audio.device = 0;
    audio.pulledByTest = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

}  // namespace qm
