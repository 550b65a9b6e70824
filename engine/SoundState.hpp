#pragma once
// The sound engine's private state: the one audio device, the effect slots and the music
// slots, shared by Sound.cpp (effects, device), SoundMusic.cpp (modules and their producer
// threads) and SoundMixer.cpp (the device callback).
#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _ModPlugFile;  // NOLINT(bugprone-reserved-identifier): libmodplug's own name

namespace qm::sound {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kStreamFrames = 51200;  // 204,800 bytes of 16-bit stereo: about 1.16 s
constexpr int kHalfFrames = kStreamFrames / 2;
constexpr int kMasterVolumeMax = 512;

// Slot numbers above these are out of range (the game uses a handful of small ones).
constexpr int kMaxEffectSlots = 4096;
constexpr int kMaxMusicSlots = 1024;
constexpr int kEffectSlotStep = 64;
constexpr int kMusicSlotStep = 16;

// One sound effect: its whole PCM, played once from the start at its own playback rate.
// Every field is read by the mixer, so changes happen under the device lock.
struct Effect {
  std::vector<int16_t> samples;  // interleaved
  int channels = 1;
  int frames = 0;
  int fileRate = kOutputRate;  // the file's own rate
  int rate = kOutputRate;      // the playback rate, kept until changed
  bool playing = false;
  uint64_t position = 0;  // frames in 16.16 fixed point
};

// One music: the module player and its looping two-half stream.
struct Music {
  _ModPlugFile* player = nullptr;
  std::vector<int16_t> stream = std::vector<int16_t>(size_t(kStreamFrames) * kOutputChannels);
  int playFrame = 0;                       // the mixer's read position (device lock)
  bool streaming = false;                  // the mixer reads the stream (device lock)
  int nextHalf = 1;                        // the half the producer fills next (producer only)
  std::atomic<bool> playing{false};        // written by the game thread
  std::atomic<bool> threadRunning{false};  // cleared by the producer when it ends
  std::atomic<int> masterVolume{kMasterVolumeMax};  // applied before each rendered half
  std::atomic<uint64_t> halvesRendered{0};
  std::thread producer;
};

struct AudioState {
  // A program that ends without ShutdownSound still stops its threads and device first.
  ~AudioState();
  SDL_AudioDeviceID device = 0;
  std::thread::id owner;      // the thread that opened the device: the only one playing effects
  bool pulledByTest = false;  // the device's own pulls are paused; tests pull the mix
  std::vector<std::unique_ptr<Effect>> effects;
  std::vector<std::unique_ptr<Music>> musics;
};

AudioState& Audio();

// Holds the device's callback off while the mixer's state changes. No-op without a device.
class DeviceLock {
 public:
  DeviceLock();
  ~DeviceLock();
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

// The module library mixes through shared static buffers, so only one thread at a time
// may load or render a module.
std::mutex& ModuleLibraryMutex();

// Adds every playing effect and stream into out (interleaved stereo). Caller holds the device lock.
void MixFrames(AudioState& audio, int16_t* out, int frames);

// Reads a game path whole. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& gamePath, std::vector<uint8_t>& bytes);

// Music slot helpers for the device code.
void StopAllMusic();
void FreeAllMusic();

Effect* EffectAt(int slot);
Music* MusicAt(int slot);

}  // namespace qm::sound
