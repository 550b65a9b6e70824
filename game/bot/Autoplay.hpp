#pragma once
// Plays one level through the game's own rules, from the deal to the end box.
#include <cstdint>
#include <string>

#include "game/rules/Lexicon.hpp"

namespace qm::autoplay {

struct PlayOptions {
  std::string levelPath;   // host path of the binary level file
  std::string levelBytes;  // or, when not empty, the file's bytes (a level being generated)
  int level = 1;           // its number (for the score objective's factor)
  int maxMoves = 200;      // accepted moves before giving up
  int easelSlots = 10;     // a new player's Easel
  int64_t startScore = 0;  // the player's score before the level
  int levelReached = 1;    // above 44 (a Master): objectives 1 and 2 rise by one
  bool verbose = false;
};

struct SeedResult {
  bool won = false;
  bool endReached = false;
  int moves = 0;
  int exchanges = 0;
  int refusals = 0;   // moves the rules refused although the bot judged them legal
  int64_t score = 0;  // points made in this level
  int objectivesMet = 0;
  int objectiveCount = 0;
  double slowestSearchMs = 0;
  std::string stop;  // why play stopped without reaching the end box
};

SeedResult PlaySeed(const PlayOptions& options, const Lexicon& lexicon, uint32_t seed);

}  // namespace qm::autoplay
