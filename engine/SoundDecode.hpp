#pragma once
// Decoding of sound effect files (RIFF WAVE or Ogg Vorbis) into 16-bit PCM.
// Pure functions over the file's bytes: no device, no slots.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm::sound {

// Playback rates the sound device accepts, in Hz.
constexpr int kMinRate = 100;
constexpr int kMaxRate = 200000;

// An Ogg Vorbis effect keeps at most this many bytes of decoded PCM; the rest is dropped.
constexpr size_t kMaxDecodedBytes = 64000000;

struct DecodedSound {
  std::vector<int16_t> samples;  // interleaved, one value per channel per frame
  int channels = 0;              // 1 or 2
  int rate = 0;                  // the file's own rate in Hz
  int Frames() const { return channels ? static_cast<int>(samples.size()) / channels : 0; }
};

// "RIFF" files: "fmt " at byte 12, the format block at byte 20, then the chunks are skipped
// up to "data". 8- or 16-bit PCM, mono or stereo. False when any of that does not hold.
bool DecodeWave(const uint8_t* bytes, size_t size, DecodedSound& out);

// Everything else: an Ogg Vorbis stream decoded whole, up to maxBytes of PCM (whole frames).
// False when it is not one.
bool DecodeOggVorbis(const uint8_t* bytes, size_t size, DecodedSound& out,
                     size_t maxBytes = kMaxDecodedBytes);

// Chooses by the first four bytes, as the loader does.
bool DecodeSoundFile(const uint8_t* bytes, size_t size, DecodedSound& out);

}  // namespace qm::sound
