#pragma once
// The synthesised 8-bit instruments of the music modules.
#include <cstdint>
#include <vector>

#include "ModFile.hpp"

namespace qm::assets {

// Rate at which every instrument is recorded: the rate a module player plays note C-3 at.
// Each instrument is tuned so that C-3 sounds its base note, with C at a whole number of
// samples per cycle, so looped tones join without a seam.
constexpr int kInstrumentRate = 16574;

// The chords a pad sample holds, as intervals above the root (open voicings sound wide).
enum class ChordShape { kMajor, kMinor, kSus2, kSus4, kMajor7, kMinor7, kDominant7, kAdd9 };
constexpr int kChordShapes = 8;

struct PadTimbre {
  double tilt;       // harmonic fall-off: 1 = sawtooth-like, 2.5 = almost sine
  double cutoffHz;   // gentle low-pass on the partials
  double detune;     // chorus spread in cycles per loop (1 = about a beat every two seconds)
  double formantHz;  // 0 = none; else a soft vocal-like bump
  double airy;       // 0..1: amount of breathy noise-like high partials
};

enum class VoiceKind { kBell, kMarimba, kPluck, kKalimba, kFlute, kPiano, kGlass };

struct BassTimbre {
  double brightness;  // 0..1
  bool sustained;     // loops its tail (held notes) or dies away (plucked notes)
};

enum class DrumKind { kKick, kShaker, kRim, kBrush, kSwell };

// Pad: MOD note C-3 sounds C4.
ModSample MakePadSample(ChordShape shape, const PadTimbre& timbre, uint64_t seed);
// Bass: MOD note C-3 sounds C3.
ModSample MakeBassSample(const BassTimbre& timbre);
// Melody voices: MOD note C-3 sounds C6.
ModSample MakeVoiceSample(VoiceKind kind, uint64_t seed);
// Percussion: played at C-3.
ModSample MakeDrumSample(DrumKind kind, uint64_t seed);

// Intervals of a chord shape above its root, in semitones.
std::vector<int> ChordIntervals(ChordShape shape);

}  // namespace qm::assets
