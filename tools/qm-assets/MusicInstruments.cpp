#include "MusicInstruments.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>

#include "SoundSynth.hpp"

namespace qm::assets {
namespace {

constexpr double kRate = kInstrumentRate;
// C6 has exactly 16 samples per cycle at the instrument rate; the other notes follow from it.
constexpr double kC6 = kRate / 16.0;

double Hz(double semitonesFromC6) {
  return kC6 * std::pow(2.0, semitonesFromC6 / 12.0);
}

ModSample Finish(const char* name, std::vector<float> samples, int volume, int loopStart,
                 int loopLength, double peak = 0.95) {
  NormalizePeak(samples, peak);
  ModSample s;
  s.name = name;
  s.data = ToModSample(samples);
  s.volume = volume;
  s.loopStart = loopStart;
  s.loopLength = loopLength;
  return s;
}

// The given seconds of sound at the instrument rate, each sample wave(t).
template <class Wave>
std::vector<float> Render(double seconds, Wave wave) {
  std::vector<float> out(static_cast<size_t>(kRate * seconds));
  for (size_t n = 0; n < out.size(); ++n) {
    const double t = n / kRate;
    out[n] = static_cast<float>(wave(t));
  }
  return out;
}

// A partial of a struck voice: its frequency as a ratio to the note's, its gain, its envelope.
struct Partial {
  double ratio, gain, attack, decay;
};

// The sum of the partials at phase x of the note and t seconds after the strike.
double Partials(double x, double t, std::initializer_list<Partial> partials) {
  double v = 0;
  bool first = true;
  for (const Partial& p : partials) {
    const double term = p.gain * std::sin(p.ratio * x) * AttackDecay(t, p.attack, p.decay);
    v = first ? term : v + term;
    first = false;
  }
  return v;
}

// Noise through a filter, struck and decaying.
std::vector<float> FilteredNoise(SynthRandom& random, Biquad filter, double seconds, double attack,
                                 double decay) {
  return Render(seconds, [&](double t) {
    return filter.Run(static_cast<float>(random.Signed())) * AttackDecay(t, attack, decay);
  });
}

}  // namespace

std::vector<int> ChordIntervals(ChordShape shape) {
  // Four intervals a shape, in the order of ChordShape: major, minor, sus2, sus4, major 7,
  // minor 7, dominant 7, add 9.
  constexpr std::array<int, 4 * kChordShapes> kIntervals = {
      0, 7, 12, 16, 0, 7, 12, 15, 0, 7, 12, 14, 0, 7, 12, 17,
      0, 7, 11, 16, 0, 7, 10, 15, 0, 7, 10, 16, 0, 7, 14, 16};
  const auto first = kIntervals.begin() + 4 * static_cast<int>(shape);
  return std::vector<int>(first, first + 4);
}

ModSample MakePadSample(ChordShape shape, const PadTimbre& timbre, uint64_t seed) {
  // One loop of a whole number of cycles for every partial: each frequency is rounded to the
  // nearest whole count per loop (at most a quarter of a hertz off), so the loop is seamless.
  constexpr int kLoop = 16384;
  constexpr int kAttack = 2048;
  SynthRandom random(seed);
  std::vector<double> wave(kLoop, 0.0);
  const double rootHz = Hz(-24);  // C4
  for (int interval : ChordIntervals(shape)) {
    const double toneHz = rootHz * std::pow(2.0, interval / 12.0);
    const double toneGain = interval == 0 ? 1.0 : 0.8;
    for (int h = 1; h <= 24; ++h) {
      const double f = toneHz * h;
      if (f > kRate * 0.45) break;
      double amp = toneGain / std::pow(h, timbre.tilt);
      amp /= 1.0 + std::pow(f / timbre.cutoffHz, 2.0);
      if (timbre.formantHz > 0)
        amp *= 1.0 + 1.5 * std::exp(-std::pow((f - timbre.formantHz) / 250.0, 2.0));
      if (h > 6) amp *= 1.0 + timbre.airy * 2.0;
      for (int voice = -1; voice <= 1; ++voice) {
        const double cycles = std::round(f * kLoop / kRate) + voice * timbre.detune * (1 + (h > 3));
        const double phase = random.Uniform() * 2 * kPi;
        const double gain = amp * (voice == 0 ? 1.0 : 0.7);
        for (int n = 0; n < kLoop; ++n)
          wave[static_cast<size_t>(n)] += gain * std::sin(2 * kPi * cycles * n / kLoop + phase);
      }
    }
  }
  std::vector<float> out(kAttack + kLoop);
  for (int n = 0; n < kAttack + kLoop; ++n) {
    const double swell = n < kAttack ? 0.5 - 0.5 * std::cos(kPi * n / kAttack) : 1.0;
    out[static_cast<size_t>(n)] = static_cast<float>(wave[static_cast<size_t>(n % kLoop)] * swell);
  }
  static const char* kNames[kChordShapes] = {"pad major",  "pad minor",  "pad sus2", "pad sus4",
                                             "pad major7", "pad minor7", "pad dom7", "pad add9"};
  return Finish(kNames[static_cast<int>(shape)], out, 64, kAttack, kLoop, 0.9);
}

ModSample MakeBassSample(const BassTimbre& timbre) {
  // C3 has exactly 128 samples per cycle, so a tail of whole cycles loops cleanly.
  const double f = Hz(-36);
  constexpr int kCycle = 128;
  const int body = kCycle * 64;  // about half a second of changing tone
  const int tail = kCycle * 16;
  const int length = timbre.sustained ? body + tail : kCycle * 200;
  std::vector<float> out(static_cast<size_t>(length));
  for (int n = 0; n < length; ++n) {
    // In the sustained tail time stands still for the envelope, so the loop repeats exactly.
    const int envN = timbre.sustained ? std::min(n, body) : n;
    const double t = static_cast<double>(envN) / kRate;
    const double attack = std::min(1.0, static_cast<double>(n) / 60.0);
    const double level = timbre.sustained ? 0.6 + 0.4 * std::exp(-t / 0.12) : std::exp(-t / 0.7);
    const double bright = timbre.brightness * std::exp(-t / 0.09);
    const double x = 2 * kPi * f * n / kRate;
    double v = std::sin(x) + (0.25 + 0.3 * bright) * std::sin(2 * x) +
               (0.08 + 0.25 * bright) * std::sin(3 * x) + 0.12 * bright * std::sin(4 * x);
    out[static_cast<size_t>(n)] = static_cast<float>(v * level * attack);
  }
  if (!timbre.sustained) FadeEdges(out, 1, 0, 400);
  return Finish(timbre.sustained ? "bass round" : "bass pluck", out, 64,
                timbre.sustained ? body : 0, timbre.sustained ? tail : 0);
}

ModSample MakeVoiceSample(VoiceKind kind, uint64_t seed) {
  SynthRandom random(seed);
  const double f = Hz(0);  // C6
  int length = static_cast<int>(kRate * 1.6);
  std::vector<float> out(static_cast<size_t>(length));
  const char* name = "voice";
  for (int n = 0; n < length; ++n) {
    const double t = n / kRate;
    const double x = 2 * kPi * f * t;
    double v = 0;
    switch (kind) {
      case VoiceKind::kBell:
        name = "bell";
        v = std::sin(x + 1.1 * std::exp(-t / 0.25) * std::sin(3.5 * x)) *
                AttackDecay(t, 0.003, 0.55) +
            0.25 * std::sin(2.76 * x) * AttackDecay(t, 0.002, 0.2);
        break;
      case VoiceKind::kMarimba:
        name = "marimba";
        v = Partials(x, t, {{1, 1, 0.002, 0.32}, {4, 0.3, 0.001, 0.05}, {0.5, 0.15, 0.004, 0.25}});
        break;
      case VoiceKind::kPluck:
        name = "pluck";
        for (int h = 1; h <= 7; ++h)
          v += std::sin(h * x) / h * std::exp(-t * (2.0 + 2.6 * h * h / 4.0)) * (h % 2 ? 1.0 : 0.7);
        v *= std::min(1.0, t / 0.002);
        break;
      case VoiceKind::kKalimba:
        name = "kalimba";
        v = Partials(x, t, {{1, 1, 0.002, 0.45}, {5.4, 0.2, 0.001, 0.03}, {3.0, 0.12, 0.002, 0.1}});
        break;
      case VoiceKind::kFlute: {
        name = "flute";
        const double vibrato = 0.006 * std::sin(2 * kPi * 4.8 * t) * std::min(1.0, t / 0.35);
        const double xv = x * (1.0 + vibrato);
        const double env = std::min(1.0, t / 0.06) * std::exp(-t / 1.1);
        v = (std::sin(xv) + 0.18 * std::sin(2 * xv) + 0.06 * std::sin(3 * xv)) * env;
        v += 0.05 * random.Signed() * std::exp(-t / 0.05);
        break;
      }
      case VoiceKind::kPiano:
        name = "e-piano";
        v = std::sin(x + 0.8 * std::exp(-t / 0.4) * std::sin(x)) * AttackDecay(t, 0.002, 0.7) +
            0.15 * std::sin(7.0 * x) * AttackDecay(t, 0.001, 0.02);
        break;
      case VoiceKind::kGlass:
        name = "glass";
        v = (std::sin(x) + 0.3 * std::sin(2.01 * x) * std::exp(-t / 0.3)) *
            std::min(1.0, t / 0.02) * std::exp(-t / 0.9);
        break;
    }
    out[static_cast<size_t>(n)] = static_cast<float>(v);
  }
  Biquad lp = Biquad::LowPass(kRate, 6500, 0.707);
  for (float& s : out) s = lp.Run(s);
  FadeEdges(out, 1, 0, 600);
  return Finish(name, out, 48, 0, 0);
}

ModSample MakeDrumSample(DrumKind kind, uint64_t seed) {
  SynthRandom random(seed);
  std::vector<float> out;
  const char* name = "drum";
  switch (kind) {
    case DrumKind::kKick: {
      name = "soft kick";
      double phase = 0;
      out = Render(0.3, [&](double t) {
        phase += 2 * kPi * (48.0 + 70.0 * std::exp(-t / 0.03)) / kRate;
        return std::sin(phase) * AttackDecay(t, 0.002, 0.09);
      });
      break;
    }
    case DrumKind::kShaker:
      name = "shaker";
      out = FilteredNoise(random, Biquad::HighPass(kRate, 4200, 0.8), 0.09, 0.012, 0.02);
      break;
    case DrumKind::kRim:
      name = "wood";
      out = Render(0.12, [](double t) {
        return (std::sin(2 * kPi * 1250 * t) + 0.4 * std::sin(2 * kPi * 2330 * t)) *
               AttackDecay(t, 0.0008, 0.018);
      });
      break;
    case DrumKind::kBrush:
      name = "brush";
      out = FilteredNoise(random, Biquad::BandPass(kRate, 2800, 0.6), 0.25, 0.01, 0.06);
      break;
    case DrumKind::kSwell: {
      name = "space swell";
      out = Render(3.0, [&](double t) {
        const double u = t / 3.0;
        return random.Signed() * std::sin(kPi * u) * std::sin(kPi * u);
      });
      Biquad a = Biquad::LowPass(kRate, 900, 2.5);
      Biquad b = Biquad::LowPass(kRate, 900, 2.5);
      for (size_t n = 0; n < out.size(); ++n) {
        if (n % 256 == 0) {
          const double u = static_cast<double>(n) / static_cast<double>(out.size());
          const double c = 500.0 + 2500.0 * std::sin(kPi * u);
          a.Retune(Biquad::LowPass(kRate, c, 2.5));
          b.Retune(Biquad::LowPass(kRate, c, 2.5));
        }
        out[n] = b.Run(a.Run(out[n]));
      }
      break;
    }
  }
  FadeEdges(out, 1, 8, 200);
  return Finish(name, out, 40, 0, 0);
}

}  // namespace qm::assets
