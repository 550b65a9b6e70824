// The 13 music modules: zik/0.mod the menu theme, zik/1.mod .. zik/12.mod the level tracks.
#include <cstdio>
#include <string>
#include <vector>

#include "AudioAssets.hpp"
#include "ModFile.hpp"
#include "MusicComposer.hpp"
#include "SoundSynth.hpp"

namespace qm::assets {
namespace {

// Pad colours: warm strings, glass, a soft choir, airy strings.
constexpr PadTimbre kWarm = {1.3, 1400, 1.0, 0, 0.0};
constexpr PadTimbre kGlass = {2.2, 2600, 1.5, 0, 0.3};
constexpr PadTimbre kChoir = {1.6, 1800, 2.0, 800, 0.1};
constexpr PadTimbre kStrings = {1.0, 1100, 1.5, 0, 0.0};
constexpr PadTimbre kAiry = {1.8, 3200, 2.5, 0, 0.6};

constexpr BassTimbre kRound = {0.2, true};
constexpr BassTimbre kPluck = {0.6, false};

// The menu theme's motif, in D major over D - Bm - G - A: a rising call and a falling answer.
const std::vector<WrittenNote> kMenuMotif = {
    {0, 0, 4, 4},  {0, 4, 4, 2},  {0, 8, 6, 1}, {0, 14, 2, 2},  // A F# E F#
    {1, 0, 4, 4},  {1, 4, 4, 5},  {1, 8, 8, 4},                 // A B A
    {2, 0, 4, 7},  {2, 4, 4, 6},  {2, 8, 4, 4}, {2, 12, 4, 2},  // D' C# A F#
    {3, 0, 12, 1}, {3, 12, 4, 2},                               // E ... F#
};

std::vector<TrackStyle> TrackStyles() {
  using V = VoiceKind;
  std::vector<TrackStyle> t;
  //           title                 seed  bpm tonic mode               pad       lead second bass
  //           style                  colour perc echo rows busy
  t.push_back({"Quillmosaica",
               101,
               76,
               62,
               Mode::kMajor,
               kWarm,
               V::kBell,
               V::kKalimba,
               kRound,
               BassStyle::kRootFifth,
               0.15,
               0,
               true,
               3,
               0.40,
               kMenuMotif,
               {0, 5, 3, 4}});
  t.push_back({"Drifting Nebula",
               211,
               70,
               65,
               Mode::kLydian,
               kAiry,
               V::kFlute,
               V::kBell,
               kRound,
               BassStyle::kHeld,
               0.30,
               0,
               true,
               6,
               0.25,
               {},
               {}});
  t.push_back({"Morning Orbit",
               307,
               92,
               67,
               Mode::kMajor,
               kWarm,
               V::kMarimba,
               V::kKalimba,
               kPluck,
               BassStyle::kWalking,
               0.25,
               2,
               false,
               3,
               0.60,
               {},
               {}});
  t.push_back({"Quiet Comet",
               419,
               72,
               57,
               Mode::kAeolian,
               kChoir,
               V::kPiano,
               V::kGlass,
               kRound,
               BassStyle::kHeld,
               0.45,
               1,
               true,
               3,
               0.35,
               {},
               {}});
  t.push_back({"Lantern Dock",
               523,
               84,
               60,
               Mode::kMixolydian,
               kStrings,
               V::kPluck,
               V::kBell,
               kPluck,
               BassStyle::kRootFifth,
               0.30,
               1,
               true,
               3,
               0.50,
               {},
               {}});
  t.push_back({"Blue Ice Moons",
               617,
               78,
               64,
               Mode::kDorian,
               kGlass,
               V::kKalimba,
               V::kMarimba,
               kRound,
               BassStyle::kPulse,
               0.40,
               0,
               false,
               3,
               0.45,
               {},
               {}});
  t.push_back({"Starlit Loom",
               709,
               68,
               58,
               Mode::kMajor,
               kWarm,
               V::kFlute,
               V::kBell,
               kRound,
               BassStyle::kHeld,
               0.35,
               0,
               true,
               6,
               0.20,
               {},
               {}});
  t.push_back({"Tidal Lights",
               811,
               88,
               62,
               Mode::kDorian,
               kChoir,
               V::kMarimba,
               V::kPluck,
               kPluck,
               BassStyle::kWalking,
               0.30,
               2,
               false,
               3,
               0.55,
               {},
               {}});
  t.push_back({"Slow Satellite",
               907,
               64,
               63,
               Mode::kLydian,
               kAiry,
               V::kBell,
               V::kGlass,
               kRound,
               BassStyle::kHeld,
               0.40,
               0,
               true,
               3,
               0.30,
               {},
               {}});
  t.push_back({"Paper Galaxies",
               1009,
               96,
               57,
               Mode::kMajor,
               kStrings,
               V::kKalimba,
               V::kMarimba,
               kPluck,
               BassStyle::kPulse,
               0.20,
               2,
               false,
               3,
               0.65,
               {},
               {}});
  t.push_back({"Harbour of Stars",
               1103,
               74,
               59,
               Mode::kAeolian,
               kWarm,
               V::kPiano,
               V::kBell,
               kRound,
               BassStyle::kRootFifth,
               0.40,
               1,
               true,
               6,
               0.40,
               {},
               {}});
  t.push_back({"Velvet Horizon",
               1201,
               80,
               67,
               Mode::kMixolydian,
               kChoir,
               V::kGlass,
               V::kKalimba,
               kRound,
               BassStyle::kWalking,
               0.35,
               1,
               false,
               3,
               0.45,
               {},
               {}});
  t.push_back({"Home Constellation",
               1301,
               72,
               60,
               Mode::kMajor,
               kGlass,
               V::kBell,
               V::kFlute,
               kRound,
               BassStyle::kHeld,
               0.30,
               0,
               true,
               6,
               0.30,
               {},
               {}});
  return t;
}

}  // namespace

bool WriteMusicModules(const std::string& outDir) {
  const std::string folder = outDir + "/zik";
  if (!MakeFolder(folder)) return false;
  const std::vector<TrackStyle> styles = TrackStyles();
  for (size_t i = 0; i < styles.size(); ++i) {
    const std::vector<uint8_t> bytes = EncodeMod(ComposeTrack(styles[i]));
    if (bytes.empty()) {
      std::fprintf(stderr, "qm-assets: the module \"%s\" breaks a limit of the MOD format\n",
                   styles[i].title);
      return false;
    }
    if (!WriteFileBytes(folder + "/" + std::to_string(i) + ".mod", bytes)) return false;
  }
  return true;
}

}  // namespace qm::assets
