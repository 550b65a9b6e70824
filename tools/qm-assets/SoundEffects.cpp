// The game's sound effects, each synthesised from sine partials, FM and filtered noise.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "AudioAssets.hpp"
#include "SoundSynth.hpp"

namespace qm::assets {
namespace {

constexpr int kRate = 44100;
// The click is stored at 22,050 Hz: the game plays it back at 12,000 to 30,000 Hz, so its
// pitch then ranges from about half to a third above the recorded tick.
constexpr int kClickRate = 22050;

double NoteHz(double midi) {
  return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

std::vector<float> Silence(double seconds, int rate = kRate) {
  return std::vector<float>(static_cast<size_t>(seconds * rate), 0.0f);
}

// A struck note from start seconds on: the wave of tone(t) under an attack-decay envelope,
// cut off once it has faded away.
template <class Tone>
void AddStruck(std::vector<float>& out, double start, double amp, double attack, double decay,
               Tone tone, int rate = kRate) {
  const size_t first = static_cast<size_t>(start * rate);
  for (size_t i = first; i < out.size(); ++i) {
    const double t = static_cast<double>(i - first) / rate;
    const double env = AttackDecay(t, attack, decay);
    if (t > 0.01 && env < 1e-4) break;
    out[i] += static_cast<float>(amp * env * tone(t));
  }
}

// A struck bell or glass tone: FM with a decaying index, plus a faint inharmonic partial.
void AddBell(std::vector<float>& out, double start, double hz, double amp, double decay,
             double ratio = 3.5, double index = 1.2) {
  AddStruck(out, start, amp, 0.004, decay, [&](double t) {
    const double mod = index * std::exp(-t / (decay * 0.35)) * std::sin(2 * kPi * hz * ratio * t);
    double v = std::sin(2 * kPi * hz * t + mod);
    v += 0.18 * std::sin(2 * kPi * hz * 2.76 * t) * std::exp(-t / (decay * 0.25));
    return v;
  });
}

// The same bell on a stereo pair, placed by pan (0 left, 1 right).
void AddBellPanned(std::vector<float>& left, std::vector<float>& right, double start, double hz,
                   double amp, double pan, double decay, double ratio, double index) {
  AddBell(left, start, hz, amp * (1.0 - pan), decay, ratio, index);
  AddBell(right, start, hz, amp * pan, decay, ratio, index);
}

// A soft mallet tone (marimba-like): fundamental with a quickly fading fourth partial.
void AddMallet(std::vector<float>& out, double start, double hz, double amp, double decay) {
  AddStruck(out, start, amp, 0.003, decay, [&](double t) {
    double v = std::sin(2 * kPi * hz * t);
    v += 0.35 * std::sin(2 * kPi * hz * 4.0 * t) * std::exp(-t / (decay * 0.2));
    v += 0.12 * std::sin(2 * kPi * hz * 10.0 * t) * std::exp(-t / 0.008);
    return v;
  });
}

// The room of a stereo pair: each side its own reverb, spread apart.
std::vector<float> StereoRoom(const std::vector<float>& left, const std::vector<float>& right,
                              double wet, double seconds, double tail, int leftSpread,
                              int rightSpread) {
  return Interleave(WithReverb(left, kRate, wet, seconds, tail, leftSpread),
                    WithReverb(right, kRate, wet, seconds, tail, rightSpread));
}

// The last touch of every effect: faded edges and its peak level.
std::vector<float> Finished(std::vector<float> out, int channels, int fadeIn, int fadeOut,
                            double peak) {
  FadeEdges(out, channels, fadeIn, fadeOut);
  NormalizePeak(out, peak);
  return out;
}

// A warm brass-like voice for the fanfare: FM 1:1 whose brightness opens then settles.
void AddBrass(std::vector<float>& out, double start, double length, double hz, double amp,
              int rate = kRate) {
  const size_t first = static_cast<size_t>(start * rate);
  const size_t last = std::min(out.size(), first + static_cast<size_t>((length + 0.6) * rate));
  for (size_t i = first; i < last; ++i) {
    const double t = static_cast<double>(i - first) / rate;
    double env = std::min(1.0, t / 0.025);
    if (t > length) env *= std::exp(-(t - length) / 0.15);
    env *= 0.75 + 0.25 * std::exp(-t / 0.2);
    const double vibrato = 1.0 + 0.004 * std::sin(2 * kPi * 5.2 * t) * std::min(1.0, t / 0.4);
    const double index = 0.9 + 1.4 * std::exp(-t / 0.12);
    const double phase = 2 * kPi * hz * vibrato * t;
    out[i] += static_cast<float>(amp * env * std::sin(phase + index * std::sin(phase)));
  }
}

void Soften(std::vector<float>& samples, double hz, int rate = kRate) {
  Biquad lp = Biquad::LowPass(rate, hz, 0.707);
  for (float& s : samples) s = lp.Run(s);
}

// Slot 0: a short wooden tick.
std::vector<float> MakeClick() {
  std::vector<float> out = Silence(0.075, kClickRate);
  SynthRandom random(1);
  Biquad body = Biquad::BandPass(kClickRate, 2600, 1.2);
  struct Mode {
    double hz, amp, decay;
  };
  const Mode modes[] = {
      {1850, 1.0, 0.011}, {3150, 0.45, 0.006}, {930, 0.35, 0.016}, {4700, 0.15, 0.003}};
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kClickRate;
    double v = 0;
    for (const Mode& m : modes) v += m.amp * std::sin(2 * kPi * m.hz * t) * std::exp(-t / m.decay);
    v += 0.9 * body.Run(static_cast<float>(random.Signed())) * std::exp(-t / 0.0015);
    out[i] = static_cast<float>(v * std::min(1.0, t / 0.0004));
  }
  Soften(out, 7000, kClickRate);
  return Finished(std::move(out), 1, 0, 60, 0.7);
}

// Slot 1: the level-up fanfare, a rising arpeggio that opens into a held major chord.
std::vector<float> MakeFanfare() {
  std::vector<float> dry = Silence(2.1);
  const double arpeggio[] = {67, 72, 76, 79};  // G4 C5 E5 G5
  for (int k = 0; k < 4; ++k) AddBrass(dry, 0.11 * k, 0.1, NoteHz(arpeggio[k]), 0.22);
  const double chord[] = {60, 67, 72, 76, 79, 84};
  for (int k = 0; k < 6; ++k) AddBrass(dry, 0.46, 1.05, NoteHz(chord[k]), k == 5 ? 0.10 : 0.15);
  for (int k = 0; k < 5; ++k)
    AddBell(dry, 0.46 + 0.07 * k, NoteHz(84 + arpeggio[k % 4] - 67), 0.08, 0.5);
  Soften(dry, 6000);
  std::vector<float> out = WithReverb(dry, kRate, 0.25, 1.2, 0.4, 0);
  return Finished(std::move(out), 1, 0, 2000, 0.75);
}

// Slot 12: exchange done, chat word found: two bright notes going up.
std::vector<float> MakeFound() {
  std::vector<float> dry = Silence(0.55);
  AddMallet(dry, 0.0, NoteHz(79), 0.5, 0.16);    // G5
  AddMallet(dry, 0.085, NoteHz(86), 0.5, 0.22);  // D6
  AddBell(dry, 0.085, NoteHz(98), 0.08, 0.2);
  std::vector<float> out = WithReverb(dry, kRate, 0.18, 0.6, 0.25, 0);
  return Finished(std::move(out), 1, 0, 1500, 0.6);
}

// Slot 16: chat word not found: two soft low notes going down, muted rather than harsh.
std::vector<float> MakeNotFound() {
  std::vector<float> out = Silence(0.42);
  AddMallet(out, 0.0, NoteHz(63), 0.5, 0.09);    // E flat 4
  AddMallet(out, 0.11, NoteHz(58), 0.55, 0.13);  // B flat 3
  Soften(out, 2500);
  return Finished(std::move(out), 1, 0, 1500, 0.55);
}

// Slot 2: every accepted move and the Good/Echec verdicts: a light three-bell chime.
std::vector<float> MakeChime() {
  std::vector<float> left = Silence(0.9), right = Silence(0.9);
  const double notes[] = {84, 88, 91};  // C6 E6 G6
  for (int k = 0; k < 3; ++k) {
    const double pan = 0.3 + 0.2 * k;
    AddBellPanned(left, right, 0.055 * k, NoteHz(notes[k]), 0.35, pan, 0.32, 3.0, 0.7);
  }
  Soften(left, 7000);
  Soften(right, 7000);
  std::vector<float> out = StereoRoom(left, right, 0.22, 0.8, 0.3, 0, 3);
  return Finished(std::move(out), 2, 0, 2500, 0.5);
}

// Slot 3: every refused move and the EXIT control: a soft airy whoosh that falls away.
std::vector<float> MakeWhoosh() {
  const double length = 0.5;
  std::vector<float> left = Silence(length), right = Silence(length);
  SynthRandom random(17);
  double phase = 0;
  for (size_t i = 0; i < left.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double u = t / length;
    const double env = std::min(1.0, t / 0.08) * std::exp(-std::max(0.0, t - 0.08) / 0.14);
    phase += 2 * kPi * (330.0 * std::pow(220.0 / 330.0, u)) / kRate;
    const double tone = 0.25 * std::sin(phase) * env;
    const double noise = random.Signed() * env;
    left[i] = static_cast<float>(noise * (1.0 - 0.6 * u) + tone);
    right[i] = static_cast<float>(noise * (0.4 + 0.6 * u) + tone);
  }
  // Sweep the band down in short steps: a moving filter reads as air going past.
  for (std::vector<float>* channel : {&left, &right}) {
    std::vector<float>& s = *channel;
    Biquad band = Biquad::BandPass(kRate, 1700, 1.1);
    Biquad band2 = Biquad::BandPass(kRate, 1700, 1.1);
    for (size_t i = 0; i < s.size(); ++i) {
      if (i % 256 == 0) {
        const double u = static_cast<double>(i) / static_cast<double>(s.size());
        const double centre = 1700.0 * std::pow(380.0 / 1700.0, u);
        band.Retune(Biquad::BandPass(kRate, centre, 1.1));
        band2.Retune(Biquad::BandPass(kRate, centre * 1.5, 1.4));
      }
      s[i] = 0.7f * band.Run(s[i]) + 0.3f * band2.Run(s[i]);
    }
  }
  std::vector<float> out = Interleave(left, right);
  return Finished(std::move(out), 2, 200, 3000, 0.4);
}

// Slot 5: exchange cancelled: two quick soft blips going down.
std::vector<float> MakeCancel() {
  std::vector<float> out = Silence(0.36);
  AddBell(out, 0.0, NoteHz(81), 0.4, 0.07, 2.0, 0.5);   // A5
  AddBell(out, 0.075, NoteHz(76), 0.4, 0.1, 2.0, 0.5);  // E5
  Soften(out, 5000);
  FadeEdges(out, 1, 0, 1500);
  std::vector<float> stereo = Interleave(out, out);
  NormalizePeak(stereo, 0.5);
  return stereo;
}

// Slot 17: loaded but not used by the game: a quiet sparkle of high bells.
std::vector<float> MakeSparkle() {
  std::vector<float> left = Silence(1.0), right = Silence(1.0);
  const double notes[] = {86, 93, 91, 98, 96, 103};
  for (int k = 0; k < 6; ++k) {
    const double pan = (k % 2) ? 0.7 : 0.3;
    AddBellPanned(left, right, 0.07 * k, NoteHz(notes[k]), 0.25, pan, 0.18, 3.5, 0.9);
  }
  std::vector<float> out = StereoRoom(left, right, 0.3, 1.0, 0.4, 1, 4);
  return Finished(std::move(out), 2, 0, 3000, 0.45);
}

struct EffectFile {
  const char* name;
  bool ogg;
  int channels;
  int rate;
  std::function<std::vector<float>()> make;
};

}  // namespace

bool WriteSoundEffects(const std::string& outDir) {
  const std::string folder = outDir + "/sfx";
  if (!MakeFolder(folder)) return false;
  const EffectFile files[] = {
      {"1.wav", false, 1, kClickRate, MakeClick}, {"2.wav", false, 1, kRate, MakeFanfare},
      {"3.wav", false, 1, kRate, MakeFound},      {"4.wav", false, 1, kRate, MakeNotFound},
      {"6.ogg", true, 2, kRate, MakeCancel},      {"13.ogg", true, 2, kRate, MakeChime},
      {"17.ogg", true, 2, kRate, MakeWhoosh},     {"18.ogg", true, 2, kRate, MakeSparkle},
  };
  int serial = 0x514D0000;  // "QM": one fixed serial per file keeps the Ogg bytes stable
  for (const EffectFile& file : files) {
    const std::vector<float> samples = file.make();
    std::vector<uint8_t> bytes;
    if (file.ogg) {
      if (!EncodeOggVorbis(samples, file.channels, file.rate, 0.5f, ++serial, bytes)) {
        std::fprintf(stderr, "qm-assets: the Vorbis encoder refused %s\n", file.name);
        return false;
      }
    } else {
      bytes = EncodeWav16(samples, file.channels, file.rate);
    }
    if (!WriteFileBytes(folder + "/" + file.name, bytes)) return false;
  }
  return true;
}

}  // namespace qm::assets
