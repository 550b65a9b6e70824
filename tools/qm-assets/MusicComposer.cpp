#include "MusicComposer.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "SoundSynth.hpp"

namespace qm::assets {
namespace {

constexpr int kBarRows = 16;
constexpr int kBarsPerPattern = kModRows / kBarRows;

// Sample numbers in every module.
constexpr int kPadSample = 1;  // 1..8, one per chord shape
constexpr int kBassSample = 9;
constexpr int kLeadSample = 10;
constexpr int kSecondSample = 11;
constexpr int kKickSample = 12;
constexpr int kShakerSample = 13;
constexpr int kWoodSample = 14;
constexpr int kBrushSample = 15;
constexpr int kSwellSample = 16;

// Channels: the bass and the fourth voice on the left of the Amiga layout, pad and melody right.
constexpr int kBassChannel = 0;
constexpr int kPadChannel = 1;
constexpr int kLeadChannel = 2;
constexpr int kFourthChannel = 3;

// MIDI note that each instrument sounds at MOD note C-3 (note 24).
constexpr int kPadBase = 60;
constexpr int kBassBase = 48;
constexpr int kVoiceBase = 84;

// Default volumes, which every new note starts at unless it sets its own.
constexpr int kPadVolume = 30;
constexpr int kBassVolume = 38;

int FloorDiv(int a, int b) {
  return (a >= 0) ? a / b : -((-a + b - 1) / b);
}
int Mod(int a, int b) {
  return ((a % b) + b) % b;
}

// Tables by mode, in the order of Mode.
const std::array<int, 7>& ScaleOf(Mode mode) {
  static const std::array<std::array<int, 7>, 5> kScales = {{
      {0, 2, 4, 5, 7, 9, 11},  // major
      {0, 2, 4, 6, 7, 9, 11},  // lydian
      {0, 2, 4, 5, 7, 9, 10},  // mixolydian
      {0, 2, 3, 5, 7, 9, 10},  // dorian
      {0, 2, 3, 5, 7, 8, 10},  // aeolian
  }};
  return kScales[static_cast<size_t>(mode)];
}

// Progressions of four bars, as scale degrees, that sit well in each mode.
const std::vector<std::vector<int>>& ProgressionsOf(Mode mode) {
  static const std::array<std::vector<std::vector<int>>, 5> kProgressions = {{
      {{0, 5, 3, 4},
       {0, 3, 5, 4},
       {0, 4, 5, 3},
       {3, 4, 2, 5},
       {0, 2, 3, 4},
       {5, 3, 0, 4},
       {0, 3, 0, 4},
       {3, 0, 4, 5},
       {0, 5, 1, 4}},
      {{0, 1, 0, 1}, {0, 1, 4, 0}, {0, 1, 5, 4}, {0, 2, 1, 0}, {5, 1, 0, 4}},
      {{0, 6, 3, 0}, {0, 3, 6, 3}, {0, 4, 6, 3}, {0, 6, 4, 3}, {6, 3, 0, 0}},
      {{0, 3, 0, 3}, {0, 6, 3, 0}, {0, 2, 3, 6}, {0, 4, 6, 3}, {0, 3, 6, 0}, {2, 3, 0, 6}},
      {{0, 5, 2, 6}, {0, 6, 5, 6}, {0, 3, 5, 4}, {5, 6, 0, 0}, {0, 5, 3, 6}, {0, 2, 6, 5}},
  }};
  return kProgressions[static_cast<size_t>(mode)];
}

struct Span {
  int start, length;  // sixteenths within a bar
};
using Rhythm = std::vector<Span>;

const std::vector<Rhythm>& SparseRhythms() {
  static const std::vector<Rhythm> k = {{{0, 8}, {8, 8}},
                                        {{0, 12}, {12, 4}},
                                        {{0, 6}, {6, 2}, {8, 8}},
                                        {{4, 4}, {8, 8}},
                                        {{0, 8}, {8, 4}, {12, 4}}};
  return k;
}
const std::vector<Rhythm>& MediumRhythms() {
  static const std::vector<Rhythm> k = {
      {{0, 4}, {4, 4}, {8, 8}},          {{0, 6}, {6, 2}, {8, 4}, {12, 4}},
      {{2, 2}, {4, 4}, {8, 6}, {14, 2}}, {{0, 3}, {3, 3}, {6, 2}, {8, 8}},
      {{0, 4}, {6, 2}, {8, 4}, {12, 4}}, {{0, 4}, {4, 4}, {8, 4}, {12, 4}}};
  return k;
}
const std::vector<Rhythm>& BusyRhythms() {
  static const std::vector<Rhythm> k = {{{0, 2}, {2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 4}},
                                        {{0, 4}, {4, 2}, {6, 2}, {8, 4}, {12, 2}, {14, 2}},
                                        {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 8}}};
  return k;
}
const std::vector<Rhythm>& CadenceRhythms() {
  static const std::vector<Rhythm> k = {
      {{0, 16}}, {{0, 4}, {4, 12}}, {{0, 2}, {2, 2}, {4, 12}}, {{0, 8}, {8, 8}}};
  return k;
}

struct Chord {
  int degree = 0;
  ChordShape shape = ChordShape::kMajor;
  std::vector<int> steps;  // chord tones as scale steps 0..6
};

struct MelodyNote {
  int bar, start, length, step, volume;
};

struct Motif {
  Rhythm rhythm;
  std::vector<int> moves;  // scale steps between successive notes
};

// What the fourth channel plays in a section.
enum class FourthRole { kNone, kEcho, kArpeggio, kPercussion };

struct Section {
  std::vector<Chord> chords;  // one per bar
  std::vector<MelodyNote> melody;
  FourthRole fourth = FourthRole::kNone;
  int padVolume = kPadVolume;
  bool heldBass = false;
  bool swell = false;  // a slow wash of filtered noise at the start
  int leadVolume = 42;
};

class Composer {
 public:
  explicit Composer(const TrackStyle& style)
      : style_(style), scale_(ScaleOf(style.mode)), random_(style.seed) {}

  ModSong Compose();

 private:
  int StepToMidi(int step) const {
    return style_.tonic + 12 * FloorDiv(step, 7) + scale_[static_cast<size_t>(Mod(step, 7))];
  }
  // The melody's tonic sits between E4 and D#5, clear above the pad and below the shrill.
  int LeadMidi(int step) const { return StepToMidi(step) + (style_.tonic < 64 ? 12 : 0); }
  int Interval(int fromDegree, int span) const {
    return Mod(scale_[static_cast<size_t>(Mod(fromDegree + span, 7))] -
                   scale_[static_cast<size_t>(Mod(fromDegree, 7))],
               12);
  }
  Chord MakeChord(int degree);
  std::vector<Chord> MakeChords(const std::vector<int>& degrees);
  std::vector<int> PickProgression(bool awayFromTonic);
  Motif MakeMotif(const std::vector<Rhythm>& pool);
  const std::vector<Rhythm>& PoolForBusy();
  int NearestChordTone(int step, const Chord& chord, int prefer = -1) const;
  int Clamp(int step) const;
  void PlayBar(std::vector<MelodyNote>& out, int bar, const Rhythm& rhythm,
               const std::vector<int>& moves, int firstStep, const Chord& chord, int& lastStep);
  std::vector<MelodyNote> ComposePhrase(const std::vector<Chord>& chords, const Motif& motif,
                                        bool endOnTonic, int& lastStep);
  std::vector<MelodyNote> Ornament(const std::vector<MelodyNote>& melody);
  ModPattern Render(const Section& section, const std::vector<int>& nextChordDegrees);

  const TrackStyle& style_;
  const std::array<int, 7>& scale_;
  SynthRandom random_;
};

Chord Composer::MakeChord(int degree) {
  Chord chord;
  chord.degree = Mod(degree, 7);
  const int third = Interval(degree, 2);
  const int fifth = Interval(degree, 4);
  const int seventh = Interval(degree, 6);
  const int second = Interval(degree, 1);
  const int fourth = Interval(degree, 3);
  if (fifth != 7) {
    // No diminished or augmented triads: a suspension keeps the calm.
    chord.shape = fourth == 5 ? ChordShape::kSus4 : ChordShape::kSus2;
    chord.steps = {degree, fourth == 5 ? degree + 3 : degree + 1, degree + 4};
  } else {
    const bool major = third == 4;
    chord.shape = major ? ChordShape::kMajor : ChordShape::kMinor;
    chord.steps = {degree, degree + 2, degree + 4};
    if (random_.Chance(style_.colour)) {
      std::vector<ChordShape> options;
      if (major && seventh == 11) options.push_back(ChordShape::kMajor7);
      if (major && seventh == 10 && chord.degree != 0) options.push_back(ChordShape::kDominant7);
      if (!major && seventh == 10) options.push_back(ChordShape::kMinor7);
      if (major && second == 2) options.push_back(ChordShape::kAdd9);
      if (second == 2) options.push_back(ChordShape::kSus2);
      if (fourth == 5 && chord.degree != 0) options.push_back(ChordShape::kSus4);
      if (!options.empty()) {
        chord.shape = options[static_cast<size_t>(random_.Below(static_cast<int>(options.size())))];
        switch (chord.shape) {
          case ChordShape::kMajor7:
          case ChordShape::kMinor7:
          case ChordShape::kDominant7:
            chord.steps.push_back(degree + 6);
            break;
          case ChordShape::kAdd9:
            chord.steps.push_back(degree + 1);
            break;
          case ChordShape::kSus2:
            chord.steps = {degree, degree + 1, degree + 4};
            break;
          case ChordShape::kSus4:
            chord.steps = {degree, degree + 3, degree + 4};
            break;
          default:
            break;
        }
      }
    }
  }
  for (int& s : chord.steps) s = Mod(s, 7);
  return chord;
}

std::vector<Chord> Composer::MakeChords(const std::vector<int>& degrees) {
  std::vector<Chord> chords;
  for (int d : degrees) chords.push_back(MakeChord(d));
  return chords;
}

std::vector<int> Composer::PickProgression(bool awayFromTonic) {
  const auto& all = ProgressionsOf(style_.mode);
  std::vector<int> p = all[static_cast<size_t>(random_.Below(static_cast<int>(all.size())))];
  if (awayFromTonic && p[0] == 0) std::rotate(p.begin(), p.begin() + 1 + random_.Below(2), p.end());
  return p;
}

const std::vector<Rhythm>& Composer::PoolForBusy() {
  const double r = random_.Uniform();
  if (r < 0.55 - 0.45 * style_.busy) return SparseRhythms();
  if (r > 1.1 - 0.45 * style_.busy) return BusyRhythms();
  return MediumRhythms();
}

Motif Composer::MakeMotif(const std::vector<Rhythm>& pool) {
  Motif motif;
  motif.rhythm = pool[static_cast<size_t>(random_.Below(static_cast<int>(pool.size())))];
  static const int kMoves[] = {-2, -1, -1, -1, 1, 1, 1, 2, 0, 3, -3, 2, -2, 4};
  const int direction = random_.Chance(0.5) ? 1 : -1;
  for (size_t i = 1; i < motif.rhythm.size(); ++i) {
    int move = kMoves[random_.Below(14)];
    if (i == 1 && move == 0) move = direction;
    motif.moves.push_back(move);
  }
  return motif;
}

// The chord tone closest to step; on a tie the one in the preferred direction (+1 up, -1 down).
int Composer::NearestChordTone(int step, const Chord& chord, int prefer) const {
  for (int k = 0; k <= 3; ++k) {
    for (int candidate : {step + k * prefer, step - k * prefer}) {
      if (std::find(chord.steps.begin(), chord.steps.end(), Mod(candidate, 7)) != chord.steps.end())
        return candidate;
    }
  }
  return step;
}

// The melody stays between the sixth below the tonic and the third of the next octave.
int Composer::Clamp(int step) const {
  if (step < -2) return -2 + (-2 - step);
  if (step > 9) return 9 - (step - 9);
  return step;
}

void Composer::PlayBar(std::vector<MelodyNote>& out, int bar, const Rhythm& rhythm,
                       const std::vector<int>& moves, int firstStep, const Chord& chord,
                       int& lastStep) {
  int step = firstStep;
  for (size_t i = 0; i < rhythm.size(); ++i) {
    const int previous = step;
    const int move = i > 0 && i - 1 < moves.size() ? moves[i - 1] : 0;
    const int direction = move > 0 ? 1 : -1;
    if (i > 0) step = Clamp(step + move);
    const Span& span = rhythm[i];
    // Strong beats and long notes rest on the chord; the others pass through the scale.
    if (span.start % 8 == 0 || span.length >= 6)
      step = Clamp(NearestChordTone(step, chord, direction));
    // A melody that keeps striking one note drones: move on to the next chord tone instead.
    if (i > 0 && step == previous && random_.Chance(0.75)) {
      step = Clamp(NearestChordTone(step + direction, chord, direction));
      if (step == previous) step = Clamp(NearestChordTone(step - 2 * direction, chord, -direction));
    }
    int volume = span.start % 8 == 0 ? 44 : (span.start % 4 == 0 ? 40 : 35);
    volume += random_.Below(5) - 2;
    out.push_back({bar, span.start, span.length, step, volume});
  }
  lastStep = step;
}

std::vector<MelodyNote> Composer::ComposePhrase(const std::vector<Chord>& chords,
                                                const Motif& motif, bool endOnTonic,
                                                int& lastStep) {
  std::vector<MelodyNote> notes;
  const int start = NearestChordTone(lastStep, chords[0]);
  int end = start;
  PlayBar(notes, 0, motif.rhythm, motif.moves, start, chords[0], end);
  // The second bar repeats the motif from where the first one ended, fitted to its chord.
  PlayBar(notes, 1, motif.rhythm, motif.moves,
          NearestChordTone(end + (random_.Chance(0.5) ? 1 : -1), chords[1]), chords[1], end);
  // The third bar answers: the motif turned upside down, or a fresh rhythm.
  if (random_.Chance(0.5)) {
    std::vector<int> inverted;
    for (int m : motif.moves) inverted.push_back(-m);
    PlayBar(notes, 2, motif.rhythm, inverted, NearestChordTone(end, chords[2]), chords[2], end);
  } else {
    Motif answer = MakeMotif(PoolForBusy());
    PlayBar(notes, 2, answer.rhythm, answer.moves, NearestChordTone(end, chords[2]), chords[2],
            end);
  }
  // The last bar settles: on the tonic at the end of a period, else on a chord tone.
  const Rhythm& cadence = CadenceRhythms()[static_cast<size_t>(
      random_.Below(static_cast<int>(CadenceRhythms().size())))];
  int target = NearestChordTone(end, chords[3]);
  if (endOnTonic) target = std::abs(end - 0) <= std::abs(end - 7) ? 0 : 7;
  std::vector<int> moves;
  int approach = target + static_cast<int>(cadence.size() - 1) * (end > target ? 1 : -1);
  for (size_t i = 1; i < cadence.size(); ++i) moves.push_back(end > target ? -1 : 1);
  int first = Clamp(approach);
  for (size_t i = 0; i < cadence.size(); ++i) {
    const Span& span = cadence[i];
    const int step =
        i + 1 == cadence.size() ? target : Clamp(first + static_cast<int>(i) * moves[0]);
    notes.push_back({3, span.start, span.length, step, i + 1 == cadence.size() ? 40 : 36});
  }
  lastStep = target;
  return notes;
}

// A third statement gets small grace notes: a neighbour tone a sixteenth before some long notes.
std::vector<MelodyNote> Composer::Ornament(const std::vector<MelodyNote>& melody) {
  std::vector<MelodyNote> out;
  for (size_t i = 0; i < melody.size(); ++i) {
    MelodyNote n = melody[i];
    const bool roomBefore = n.start >= 2 && (out.empty() || out.back().bar != n.bar ||
                                             out.back().start + 1 < n.start - 1);
    if (n.length >= 6 && roomBefore && random_.Chance(0.5)) {
      out.push_back({n.bar, n.start - 1, 1, n.step + 1, n.volume - 10});
    }
    out.push_back(n);
  }
  return out;
}

ModPattern Composer::Render(const Section& section, const std::vector<int>& nextChordDegrees) {
  ModPattern pattern{};
  auto cell = [&](int row, int channel) -> ModCell& {
    return pattern[static_cast<size_t>(row)][static_cast<size_t>(channel)];
  };
  auto place = [&](int row, int channel, int midi, int base, int sample, int volume) {
    if (row < 0 || row >= kModRows) return;
    int note = midi - base + 24;
    while (note < 0) note += 12;
    while (note >= kModNotes) note -= 12;
    ModCell& c = cell(row, channel);
    c.note = note;
    c.sample = sample;
    if (volume >= 0) {
      c.effect = 0xC;
      c.param = std::clamp(volume, 0, 64);
    }
  };

  // Pad: a chord per bar, breathing out over the last rows before a change.
  for (int bar = 0; bar < kBarsPerPattern; ++bar) {
    const Chord& chord = section.chords[static_cast<size_t>(bar)];
    const bool same = bar > 0 &&
                      section.chords[static_cast<size_t>(bar - 1)].degree == chord.degree &&
                      section.chords[static_cast<size_t>(bar - 1)].shape == chord.shape;
    const int rootPc = Mod(style_.tonic + scale_[static_cast<size_t>(chord.degree)], 12);
    if (!same) {
      place(bar * kBarRows, kPadChannel, 48 + rootPc, kPadBase,
            kPadSample + static_cast<int>(chord.shape),
            section.padVolume == kPadVolume ? -1 : section.padVolume);
    }
    const int nextDegree = bar + 1 < kBarsPerPattern
                               ? section.chords[static_cast<size_t>(bar + 1)].degree
                           : nextChordDegrees.empty() ? -1
                                                      : nextChordDegrees[0];
    if (nextDegree != chord.degree) {
      for (int r = 13; r < 16; ++r) {
        ModCell& c = cell(bar * kBarRows + r, kPadChannel);
        if (c.effect == 0) {
          c.effect = 0xA;
          c.param = 0x01;
        }
      }
    }
  }

  // Bass.
  for (int bar = 0; bar < kBarsPerPattern; ++bar) {
    const Chord& chord = section.chords[static_cast<size_t>(bar)];
    const int rootPc = Mod(style_.tonic + scale_[static_cast<size_t>(chord.degree)], 12);
    const int root = 33 + Mod(rootPc - 9, 12);  // A1 .. G#2
    const int fifth = root + 7 <= 45 ? root + 7 : root - 5;
    const int row = bar * kBarRows;
    BassStyle style = section.heldBass ? BassStyle::kHeld : style_.bass;
    switch (style) {
      case BassStyle::kHeld:
        if (bar == 0 || section.chords[static_cast<size_t>(bar - 1)].degree != chord.degree) {
          place(row, kBassChannel, root, kBassBase, kBassSample, -1);
        }
        break;
      case BassStyle::kRootFifth:
        place(row, kBassChannel, root, kBassBase, kBassSample, -1);
        place(row + 8, kBassChannel, random_.Chance(0.7) ? fifth : root + 12, kBassBase,
              kBassSample, 34);
        break;
      case BassStyle::kWalking: {
        place(row, kBassChannel, root, kBassBase, kBassSample, -1);
        place(row + 6, kBassChannel, root, kBassBase, kBassSample, 30);
        place(row + 8, kBassChannel, fifth, kBassBase, kBassSample, 38);
        const int nextDegree = bar + 1 < kBarsPerPattern
                                   ? section.chords[static_cast<size_t>(bar + 1)].degree
                               : nextChordDegrees.empty() ? chord.degree
                                                          : nextChordDegrees[0];
        const int nextRoot =
            33 + Mod(Mod(style_.tonic + scale_[static_cast<size_t>(nextDegree)], 12) - 9, 12);
        place(row + 12, kBassChannel, nextRoot + (nextRoot > root ? -1 : 2), kBassBase, kBassSample,
              30);
        break;
      }
      case BassStyle::kPulse:
        for (int k = 0; k < 4; ++k) {
          place(row + 4 * k, kBassChannel, k == 2 ? fifth : root, kBassBase, kBassSample,
                k == 0 ? -1 : (k == 2 ? 34 : 28));
        }
        break;
    }
  }

  // Melody.
  for (const MelodyNote& n : section.melody) {
    place(n.bar * kBarRows + n.start, kLeadChannel, LeadMidi(n.step), kVoiceBase, kLeadSample,
          n.volume * section.leadVolume / 42);
  }

  // Fourth voice.
  if (section.swell) place(0, kFourthChannel, kVoiceBase, kVoiceBase, kSwellSample, -1);
  switch (section.fourth) {
    case FourthRole::kNone:
      break;
    case FourthRole::kEcho:
      for (const MelodyNote& n : section.melody) {
        const int row = n.bar * kBarRows + n.start + style_.echoRows;
        if (row < kModRows && cell(row, kFourthChannel).note < 0) {
          place(row, kFourthChannel, LeadMidi(n.step), kVoiceBase, kLeadSample, n.volume * 2 / 5);
        }
      }
      break;
    case FourthRole::kArpeggio: {
      const int every = style_.busy >= 0.5 ? 2 : 4;
      static const int kOrder[][8] = {
          {0, 1, 2, 3, 2, 1, 0, 1}, {0, 2, 1, 3, 0, 2, 1, 3}, {3, 2, 1, 0, 1, 2, 3, 2}};
      const int* order = kOrder[random_.Below(3)];
      for (int bar = 0; bar < kBarsPerPattern; ++bar) {
        const Chord& chord = section.chords[static_cast<size_t>(bar)];
        std::vector<int> tones;
        for (int s : chord.steps) tones.push_back(StepToMidi(s));
        tones.push_back(StepToMidi(chord.steps[0] + 7));
        std::sort(tones.begin(), tones.end());
        for (int k = 0; k < kBarRows / every; ++k) {
          const int row = bar * kBarRows + k * every;
          if (section.swell && row < 2 * kBarRows) continue;
          const int tone =
              tones[static_cast<size_t>(order[k % 8] % static_cast<int>(tones.size()))];
          place(row, kFourthChannel, tone, kVoiceBase, kSecondSample,
                (k % 4 == 0 ? 26 : 20) + random_.Below(4));
        }
      }
      break;
    }
    case FourthRole::kPercussion:
      for (int bar = 0; bar < kBarsPerPattern; ++bar) {
        const int row = bar * kBarRows;
        const int drum = 24;  // C-3: the drums sound at their own pitch
        auto hit = [&](int r, int sample, int volume) {
          ModCell& c = cell(row + r, kFourthChannel);
          c.note = drum;
          c.sample = sample;
          c.effect = 0xC;
          c.param = volume;
        };
        if (style_.percussion >= 2) {
          hit(0, kKickSample, 40);
          hit(4, kShakerSample, 16);
          hit(8, bar % 2 ? kBrushSample : kWoodSample, 22);
          hit(12, kShakerSample, 16);
          if (random_.Chance(0.4)) hit(10, kKickSample, 26);
          if (random_.Chance(0.5)) hit(14, kShakerSample, 10);
        } else {
          hit(0, kKickSample, 34);
          if (bar % 2) hit(8, kWoodSample, 18);
          hit(12, kShakerSample, 12);
        }
      }
      break;
  }
  return pattern;
}

ModSong Composer::Compose() {
  ModSong song;
  song.title = style_.title;
  // Instruments.
  for (int s = 0; s < kChordShapes; ++s) {
    song.samples[static_cast<size_t>(kPadSample - 1 + s)] = MakePadSample(
        static_cast<ChordShape>(s), style_.pad, style_.seed * 31 + static_cast<uint64_t>(s));
    song.samples[static_cast<size_t>(kPadSample - 1 + s)].volume = kPadVolume;
  }
  song.samples[kBassSample - 1] = MakeBassSample(style_.bassTimbre);
  song.samples[kBassSample - 1].volume = kBassVolume;
  song.samples[kLeadSample - 1] = MakeVoiceSample(style_.lead, style_.seed + 1);
  song.samples[kSecondSample - 1] = MakeVoiceSample(style_.second, style_.seed + 2);
  song.samples[kKickSample - 1] = MakeDrumSample(DrumKind::kKick, style_.seed + 3);
  song.samples[kShakerSample - 1] = MakeDrumSample(DrumKind::kShaker, style_.seed + 4);
  song.samples[kWoodSample - 1] = MakeDrumSample(DrumKind::kRim, style_.seed + 5);
  song.samples[kBrushSample - 1] = MakeDrumSample(DrumKind::kBrush, style_.seed + 6);
  song.samples[kSwellSample - 1] = MakeDrumSample(DrumKind::kSwell, style_.seed + 7);

  // Harmony: A is the main period, B moves away from the tonic, C (the bridge) holds two chords.
  const std::vector<int> progressionA =
      style_.progression.empty() ? PickProgression(false) : style_.progression;
  std::vector<int> progressionB = PickProgression(true);
  if (progressionB == progressionA)
    std::rotate(progressionB.begin(), progressionB.begin() + 1, progressionB.end());
  const std::vector<int> pb = PickProgression(true);
  const std::vector<int> progressionC = {pb[0], pb[0], pb[1] == pb[0] ? pb[2] : pb[1],
                                         pb[1] == pb[0] ? pb[2] : pb[1]};

  const std::vector<Chord> chordsA = MakeChords(progressionA);
  const std::vector<Chord> chordsB = MakeChords(progressionB);
  const std::vector<Chord> chordsC = MakeChords(progressionC);
  // The periods' second statements and the outro come home to the tonic before the loop restarts.
  std::vector<Chord> chordsEnd = chordsA;
  chordsEnd[3] = MakeChord(0);
  if (chordsEnd[3].shape != ChordShape::kMajor && chordsEnd[3].shape != ChordShape::kMinor) {
    chordsEnd[3].shape = Interval(0, 2) == 4 ? ChordShape::kMajor : ChordShape::kMinor;
    chordsEnd[3].steps = {0, 2, 4};
  }

  // Melodies.
  int last = 2;
  Motif motifA = MakeMotif(PoolForBusy());
  std::vector<MelodyNote> melodyA, melodyA2;
  if (!style_.motif.empty()) {
    for (const WrittenNote& w : style_.motif)
      melodyA.push_back({w.bar, w.start, w.length, w.step, w.start % 8 == 0 ? 44 : 38});
    for (const WrittenNote& w : style_.motif) {
      if (w.bar < 3)
        melodyA2.push_back({w.bar, w.start, w.length, w.step, w.start % 8 == 0 ? 44 : 38});
    }
    melodyA2.push_back({3, 0, 4, 2, 38});
    melodyA2.push_back({3, 4, 12, 0, 40});
  } else {
    melodyA = ComposePhrase(chordsA, motifA, false, last);
    std::vector<MelodyNote> again = ComposePhrase(chordsEnd, motifA, true, last);
    // The second statement keeps the first two bars and changes the answer and cadence.
    for (const MelodyNote& n : melodyA)
      if (n.bar < 2) melodyA2.push_back(n);
    for (const MelodyNote& n : again)
      if (n.bar >= 2) melodyA2.push_back(n);
  }
  last = 4;
  Motif motifB = MakeMotif(PoolForBusy());
  std::vector<MelodyNote> melodyB = ComposePhrase(chordsB, motifB, false, last);
  std::vector<MelodyNote> melodyB2 = ComposePhrase(chordsB, motifB, false, last);
  std::vector<MelodyNote> melodyA3 = Ornament(melodyA2);
  // The bridge keeps the melody to a few long notes on the chords.
  std::vector<MelodyNote> melodyC;
  for (int bar = 0; bar < 4; bar += 2) {
    const Chord& chord = chordsC[static_cast<size_t>(bar)];
    melodyC.push_back({bar, 0, 12, Clamp(NearestChordTone(4, chord) + (bar ? 0 : 2)), 34});
    melodyC.push_back({bar + 1, 4, 12, Clamp(NearestChordTone(2, chord)), 30});
  }
  // The outro recalls the motif's first bar, then rests on the tonic.
  std::vector<MelodyNote> melodyEnd;
  for (const MelodyNote& n : melodyA)
    if (n.bar == 0) melodyEnd.push_back({n.bar, n.start, n.length, n.step, n.volume - 6});
  melodyEnd.push_back({2, 0, 16, 4, 30});
  melodyEnd.push_back({3, 0, 16, 0, 28});

  const FourthRole colour = style_.echo ? FourthRole::kEcho : FourthRole::kArpeggio;
  const FourthRole groove = style_.percussion > 0 ? FourthRole::kPercussion : FourthRole::kArpeggio;

  std::vector<Section> sections(8);
  sections[0] = {chordsA, {}, FourthRole::kArpeggio, kPadVolume, true, true, 42};  // intro
  sections[1] = {chordsA, melodyA, colour, kPadVolume, false, false, 42};          // A
  sections[2] = {chordsEnd, melodyA2, colour, kPadVolume,
                 false,     false,    42};  // A', home on the tonic
  sections[3] = {chordsB, melodyB, groove, kPadVolume + 2, false, false, 44};   // B
  sections[4] = {chordsB, melodyB2, groove, kPadVolume + 2, false, false, 44};  // B'
  sections[5] = {chordsC, melodyC, FourthRole::kArpeggio, kPadVolume + 6, true,
                 true,    38};                                                // bridge
  sections[6] = {chordsEnd, melodyA3, colour, kPadVolume, false, false, 42};  // A''
  sections[7] = {chordsEnd, melodyEnd, FourthRole::kArpeggio, kPadVolume - 2, true,
                 false,     36};  // outro
  const std::vector<int> order = {0, 1, 2, 3, 4, 5, 1, 6, 7};
  for (size_t i = 0; i < sections.size(); ++i) song.patterns.push_back({});
  for (size_t k = 0; k < order.size(); ++k) {
    const int p = order[k];
    if (k > 0 && std::find(order.begin(), order.begin() + static_cast<long>(k), p) !=
                     order.begin() + static_cast<long>(k))
      continue;
    const int next = order[(k + 1) % order.size()];
    std::vector<int> nextDegrees;
    for (const Chord& c : sections[static_cast<size_t>(next)].chords)
      nextDegrees.push_back(c.degree);
    song.patterns[static_cast<size_t>(p)] = Render(sections[static_cast<size_t>(p)], nextDegrees);
  }
  song.order = order;

  // Tempo and panning once at the very start: the intro's first rows leave these cells free.
  ModPattern& intro = song.patterns[0];
  intro[0][kLeadChannel].effect = 0xF;
  intro[0][kLeadChannel].param = style_.bpm;
  intro[1][kLeadChannel].effect = 0x8;
  intro[1][kLeadChannel].param = 0x50;
  // The player reads 8xx as 0x00 (left) .. 0x40 (centre) .. 0x80 (right).
  const int pans[kModChannels] = {0x40, 0x4C, 0x50, 0x30};
  for (int ch : {kBassChannel, kPadChannel, kFourthChannel}) {
    int row = 0;
    while (row < 4 && intro[static_cast<size_t>(row)][static_cast<size_t>(ch)].effect != 0) ++row;
    intro[static_cast<size_t>(row)][static_cast<size_t>(ch)].effect = 0x8;
    intro[static_cast<size_t>(row)][static_cast<size_t>(ch)].param = pans[ch];
  }
  return song;
}

}  // namespace

ModSong ComposeTrack(const TrackStyle& style) {
  return Composer(style).Compose();
}

}  // namespace qm::assets
