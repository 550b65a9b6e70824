#pragma once
// Small deterministic synthesis kit shared by the sound effects and the music instruments.
#include <cstdint>
#include <string>
#include <vector>

#include "SplitMix.hpp"

namespace qm::assets {

constexpr double kPi = 3.14159265358979323846;

class SynthRandom : public SplitMix {
 public:
  explicit SynthRandom(uint64_t seed) : SplitMix(seed) {}
  double Uniform() { return Unit(); }  // [0, 1)
  double Signed() { return Uniform() * 2.0 - 1.0; }
  int Below(int n);  // 0 .. n-1
  bool Chance(double p) { return Uniform() < p; }
};

// RBJ biquad filter (direct form I).
class Biquad {
 public:
  static Biquad LowPass(double rate, double hz, double q);
  static Biquad HighPass(double rate, double hz, double q);
  static Biquad BandPass(double rate, double hz, double q);
  float Run(float x);
  // Takes another filter's response but keeps this one's memory, so a sweep has no clicks.
  void Retune(const Biquad& other);

 private:
  struct Coefficients;
  static Coefficients Prewarp(double rate, double hz, double q);
  // The three kinds differ only in their numerator.
  static Biquad Normalised(const Coefficients& c, double b0, double b1, double b2);
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Attack-decay envelope: linear rise over attack seconds, then exponential fall with the given
// time constant; 0 before the start.
double AttackDecay(double t, double attack, double decay);
// Raised-cosine fade at the start and end of a buffer, so nothing starts or stops with a click.
void FadeEdges(std::vector<float>& samples, int channels, int fadeInFrames, int fadeOutFrames);
// Adds a small Schroeder room (four combs, two all-passes) to a mono buffer, mixed by wet;
// spread shifts the delays so two calls give a stereo pair. The buffer grows by tail seconds.
std::vector<float> WithReverb(const std::vector<float>& dry, int rate, double wet, double seconds,
                              double tail, int spread);
// Interleaves two mono buffers of any lengths (the shorter one padded with silence).
std::vector<float> Interleave(const std::vector<float>& left, const std::vector<float>& right);
// Scales the buffer so that its largest magnitude equals peak (0 < peak < 1).
void NormalizePeak(std::vector<float>& samples, double peak);
double PeakOf(const std::vector<float>& samples);

// 16-bit PCM RIFF/WAVE; "fmt " follows the header at byte 12 and "data" comes next.
std::vector<uint8_t> EncodeWav16(const std::vector<float>& interleaved, int channels, int rate);
// Ogg Vorbis with a fixed stream serial number, so the bytes are the same on every run.
bool EncodeOggVorbis(const std::vector<float>& interleaved, int channels, int rate, float quality,
                     int serial, std::vector<uint8_t>& out);

// Creates the folder and its parents; says why on stderr when it cannot.
bool MakeFolder(const std::string& folder);
// Writes bytes to path through a temporary file renamed into place.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace qm::assets
