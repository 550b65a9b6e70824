#pragma once
// Recorded input: one line per change of the input state, stamped with the virtual tick at
// which it happens (see README.md for the format).
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qm::e2e {

// The whole input state at one tick, plus the text typed by the keys released there.
struct InputState {
  std::set<int> keys;  // scan codes held
  int x = -1, y = -1;  // pointer; -1 = outside the window
  bool left = false, right = false, middle = false;
  std::string text;   // Windows-1252 characters of the keys released on this line
  bool focus = true;  // the window is the active one
  bool quit = false;  // the window manager asked to close the window
  bool SameHeld(const InputState& o) const {
    return keys == o.keys && x == o.x && y == o.y && left == o.left && right == o.right &&
           middle == o.middle && focus == o.focus && quit == o.quit;
  }
};

struct ReplayLine {
  uint32_t tick = 0;
  InputState state;
};

// A Piece layout to put on the Easel when a level starts, before its first frame.
struct EaselPreset {
  int level = 0;
  std::vector<int16_t> codes;  // slot 1 upward; the slot count is codes.size()
};

struct Replay {
  uint32_t seed = 1;
  int width = 1024, height = 768;
  uint32_t stepMs = 16;
  std::vector<EaselPreset> easels;
  std::vector<ReplayLine> lines;
  std::optional<uint32_t> endTick;  // the run is ended (window closed) at this tick
};

// Parses the text of a replay; throws std::runtime_error naming the line on bad input.
Replay ParseReplay(const std::string& text);
std::string FormatReplay(const Replay& replay);
std::string FormatReplayLine(const ReplayLine& line);

// Injects the events that turn input state `from` into `to` through the engine's test hooks.
void InjectChange(const InputState& from, const InputState& to);

// Scan code of a letter key a..z (or A..Z), 0 for anything else.
int LetterScanCode(char letter);

}  // namespace qm::e2e
