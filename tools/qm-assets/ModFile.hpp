#pragma once
// ProTracker "M.K." module: 31 samples, 4 channels, 64-row patterns.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::assets {

constexpr int kModChannels = 4;
constexpr int kModRows = 64;
constexpr int kModSamples = 31;
constexpr int kModNotes = 36;  // C-1 .. B-3, the three octaves every player plays alike

struct ModSample {
  std::string name;          // up to 22 characters
  std::vector<int8_t> data;  // even length, at most 131,070 bytes
  int volume = 64;           // 0..64
  int loopStart = 0;         // in bytes, even
  int loopLength = 0;        // in bytes, even; 0 = plays once
};

struct ModCell {
  int note = -1;   // 0..35 (C-1 .. B-3), -1 = none
  int sample = 0;  // 1..31, 0 = none
  int effect = 0;  // 0x0..0xF
  int param = 0;   // 0..255
};

using ModPattern = std::array<std::array<ModCell, kModChannels>, kModRows>;

struct ModSong {
  std::string title;
  std::array<ModSample, kModSamples> samples;
  std::vector<ModPattern> patterns;
  std::vector<int> order;  // pattern numbers, 1..128 entries
};

// The Amiga period of note 0..35 at finetune 0.
int ModPeriod(int note);
// The module's bytes; an empty result if the song breaks a limit of the format.
std::vector<uint8_t> EncodeMod(const ModSong& song);
// Converts -1..1 floats to signed 8-bit with a little triangular dither-free rounding.
std::vector<int8_t> ToModSample(const std::vector<float>& samples);

}  // namespace qm::assets
