// The mixer behind the audio device: sums every playing effect, each resampled to the
// output rate at its own playback rate, and every streaming music into 16-bit stereo.
#include <algorithm>
#include <cstring>

#include "engine/SoundState.hpp"

namespace qm::sound {
namespace {

constexpr int kFractionBits = 16;
constexpr uint64_t kFractionMask = (uint64_t(1) << kFractionBits) - 1;

// Adds one effect into the accumulator; ends it when its last frame has been passed.
void MixEffect(Effect& effect, int32_t* mix, int frames) {
  // Source frames per output frame, in 16.16 fixed point.
  const uint64_t step = (uint64_t(effect.rate) << kFractionBits) / kOutputRate;
  const int16_t* s = effect.samples.data();
  const int last = effect.frames - 1;
  for (int i = 0; i < frames; ++i) {
    uint64_t whole = effect.position >> kFractionBits;
    if (whole > uint64_t(last)) {
      effect.playing = false;
      return;
    }
    int frame = int(whole);
    int next = std::min(frame + 1, last);
    int32_t fraction = int32_t(effect.position & kFractionMask);
    for (int c = 0; c < kOutputChannels; ++c) {
      int channel = effect.channels == 1 ? 0 : c;
      int32_t a = s[frame * effect.channels + channel];
      int32_t b = s[next * effect.channels + channel];
      // 64-bit: a jump of up to 65,535 times a fraction of up to 65,535 overflows 32 bits.
      mix[i * kOutputChannels + c] += a + int32_t((int64_t(b - a) * fraction) >> kFractionBits);
    }
    effect.position += step;
  }
  if ((effect.position >> kFractionBits) > uint64_t(last)) effect.playing = false;
}

// Adds the looping stream from its read position and moves the position on.
void MixStream(Music& music, int32_t* mix, int frames) {
  const int16_t* s = music.stream.data();
  for (int i = 0; i < frames; ++i) {
    const int16_t* frame = s + size_t(music.playFrame) * kOutputChannels;
    mix[i * kOutputChannels] += frame[0];
    mix[i * kOutputChannels + 1] += frame[1];
    if (++music.playFrame == kStreamFrames) music.playFrame = 0;
  }
}

}  // namespace

void MixFrames(AudioState& audio, int16_t* out, int frames) {
  constexpr int kChunk = 1024;
  int32_t mix[kChunk * kOutputChannels];
  while (frames > 0) {
    int n = std::min(frames, kChunk);
    std::memset(mix, 0, sizeof(int32_t) * n * kOutputChannels);
    for (auto& effect : audio.effects) {
      if (effect && effect->playing) MixEffect(*effect, mix, n);
    }
    for (auto& music : audio.musics) {
      if (music && music->streaming) MixStream(*music, mix, n);
    }
    for (int i = 0; i < n * kOutputChannels; ++i) {
      out[i] = int16_t(std::clamp(mix[i], int32_t(-32768), int32_t(32767)));
    }
    out += n * kOutputChannels;
    frames -= n;
  }
}

}  // namespace qm::sound
