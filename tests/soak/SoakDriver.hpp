#pragma once
// Plays the real game headless for a number of frames with seeded random input: mouse moves,
// clicks and drags anywhere, keys, chat lines, the option panels, exchanges and the EXIT
// control, across the menus and the levels, on the virtual clock. A run that ends (Escape in
// the player menu, "Quit (ESC)") starts the program again until the frames are done.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace qm::soak {

struct SoakReport {
  uint64_t frames = 0;  // presents seen
  int programRuns = 0;  // start-ups (the program ended by itself runs - 1 times)
  int levelStarts = 0;
  int movesAccepted = 0;  // turns whose Pieces stayed on the Board
  std::set<int> levelsPlayed;
  int exitsToMenu = 0;                    // EXIT control used
  int profilesWritten = 0;                // profile files seen at the end
  std::vector<int64_t> heapAtLevelStart;  // live heap bytes right after each level start
  std::vector<std::string> problems;      // unreadable profiles, stray temporary files
};

// Plays in gameFolder with profiles in playersFolder (both must exist).
SoakReport RunSoak(const std::string& gameFolder, const std::string& playersFolder, uint64_t frames,
                   uint32_t seed);

// Live heap bytes (without the sanitizer's quarantine when it runs under one).
int64_t LiveHeapBytes();

// "" when every file in the folder is a whole profile (its size is 16 + its name length),
// else what is wrong.
std::string CheckProfileFolder(const std::string& playersFolder, int* count = nullptr);

}  // namespace qm::soak
