#pragma once
// The measurements of qm-bench: each fills its figures into one Report.
#include <string>
#include <utility>
#include <vector>

#include "game/GameState.hpp"

namespace qm::bench {

struct Options {
  std::string dataFolder;  // the game folder (maps, gfx, sfx, zik, dico-english)
  std::string mapsFolder;  // holds "1": the large Board the frames are measured on
  std::string self;        // this executable, run again for the start-up measure
  int frames = 600;        // measured passes per frame figure
  int warmUpFrames = 60;   // passes run before measuring
  int levelStarts = 5;     // repetitions of the level start
  int startups = 5;        // child processes started for the start-up measure
  int validations = 200;   // ValidateMove repetitions
  int lookups = 2000;      // LookUpWord repetitions per figure
  int hints = 40;          // hint searches on the large Board
  int generateSeeds = 20;  // generated levels per grade
  std::string shots;       // when set: PNGs of the last measured frames (PREFIX-1080.png ...)
  bool present = false;    // whole frames on a real window instead of the headless figures
};

struct Figure {
  std::string name;  // the JSON key
  double value = 0;
  std::string unit;  // for the table
  std::string goal;  // for the table, empty when none
  bool met = true;
};

struct Report {
  std::vector<Figure> figures;
  std::vector<std::string> notes;  // said under the table
  void Add(const std::string& name, double value, const std::string& unit,
           const std::string& goal = "", bool met = true) {
    figures.push_back({name, value, unit, goal, met});
  }
};

// Start-up: the real StartUp and TitleSequence screens in a child process, from the spawn to
// the first presented title frame.
void MeasureStartUp(const Options& options, Report& report);
// Child side of MeasureStartUp: prints the wall-clock time of the first title present.
int RunStartUpChild();

// Opens the engine the way the game does (StartUp) at the given headless size, once.
void OpenEngine(int width, int height);
// Closes the screen and opens it again at another size (the game keeps one size per run).
void ReopenScreen(int width, int height);
// PrepareGame for a benchmark player on the large level.
void PreparePlayer(GameState& game);

// start_level_ms, then the frame figures at the current size. `tag` is "1080" or "1440";
// the DetailsView and the per-frame counters are measured when `details` is set.
void MeasureLevelStart(const Options& options, GameState& game, Report& report);
void MeasureFrames(const Options& options, GameState& game, const std::string& tag, bool details,
                   Report& report);

// The ChatLog of the measured scene: ten lines of the lengths a game shows.
void FillChatLog(GameState& game);

// True when a window system is there to open a real window on (DISPLAY or WAYLAND_DISPLAY).
bool DisplayAvailable();
// --present on a display: the idle player menu's CPU (menu_cpu_pct, from a child process
// run with --menu-child), then whole frames, drawing plus present, on a real window at
// 1920 x 1080 and at 3840 x 2160 (scale 2). Opens the engine itself.
void MeasurePresent(const Options& options, GameState& game, Report& report);
// Child side of menu_cpu_pct: opens the game at 1920 x 1080 with the real clock, prints a
// line describing its screen, then stays in the player menu until it is stopped.
int RunMenuChild();

// ValidateMove of a five-Piece move with two cross words, and LookUpWord found / missing.
void MeasureRules(const Options& options, GameState& game, Report& report);

// Hint searches on the large Board with an 18-slot Easel, and the play loop beside one.
void MeasureHints(const Options& options, GameState& game, Report& report);

// Levels made and proven by the generator, seeds 1..generateSeeds of every grade, before the
// screen opens (the bot's proof draws nothing).
void MeasureGenerator(const Options& options, Report& report);

}  // namespace qm::bench
