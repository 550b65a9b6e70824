#pragma once
// The procedural composer: a track's character in, a 4-channel module out.
//
// Every track has the same calm shape, nine patterns of four bars (a bar is 16 rows, a row a
// sixteenth): intro, A, A', B, B', bridge, A, A'', outro, then it loops to the intro.
// Harmony: four-bar progressions of scale degrees that suit the mode, one chord a bar (two
// bars in the bridge); chords may take a seventh, ninth or suspension, never a diminished
// triad. Melody: a one-bar motif (a rhythm and a contour of scale steps) stated, repeated
// from where it ended, answered (inverted or a fresh rhythm) and closed by a cadence that
// rests on a chord tone, or on the tonic at the end of a period; strong beats sit on chord
// tones. Channels: 1 bass, 2 pad (whole chords baked into looped samples, breathing out
// before each change), 3 melody, 4 an echo of the melody, an arpeggio or soft percussion.
#include <cstdint>
#include <vector>

#include "ModFile.hpp"
#include "MusicInstruments.hpp"

namespace qm::assets {

enum class Mode { kMajor, kLydian, kMixolydian, kDorian, kAeolian };
enum class BassStyle { kHeld, kRootFifth, kWalking, kPulse };

// A melody note written by hand (the menu theme's motif): bar 0..3, start and length in
// sixteenths, pitch in scale steps above the tonic (7 = the octave).
struct WrittenNote {
  int bar, start, length, step;
};

struct TrackStyle {
  const char* title;
  uint64_t seed;
  int bpm;    // quarter notes per minute; a row is a sixteenth
  int tonic;  // MIDI note of the tonic in the melody's octave (60..71)
  Mode mode;
  PadTimbre pad;
  VoiceKind lead;
  VoiceKind second;  // the arpeggio and echo voice
  BassTimbre bassTimbre;
  BassStyle bass;
  double colour;                   // chance that a chord takes a seventh, ninth or suspension
  int percussion;                  // 0 none, 1 a few soft hits, 2 a light groove
  bool echo;                       // the fourth channel echoes the melody where it is free
  int echoRows;                    // echo delay in rows
  double busy;                     // 0..1: how many notes the melodies use
  std::vector<WrittenNote> motif;  // empty = the composer invents the main phrase
  std::vector<int> progression;    // scale degrees of the main phrase's bars; empty = chosen
};

// Composes the whole module; the same style always gives the same bytes.
ModSong ComposeTrack(const TrackStyle& style);

}  // namespace qm::assets
