#pragma once
// New levels in the game's own style, each proven by the bot before it is given out.
//
// A level's identity is (kGeneratorVersion, grade, seed): the same three give the same bytes
// on every machine, compiler and build type. GenerateLevel keeps no state between calls and
// touches nothing global: its random numbers come from its own stream (and the bot's deals
// from the calling thread's own engine random source), its dictionary lookups use the calling
// thread's own file slots. So the game may run it on a worker thread while the frame loop
// draws; the words are only read and may be shared by several generating threads.
#include <cstdint>
#include <string>

#include "game/level/LevelSource.hpp"
#include "game/rules/Lexicon.hpp"

namespace qm::gen {

// Raised whenever a change would make any (grade, seed) give other bytes.
constexpr uint32_t kGeneratorVersion = 1;
constexpr int kFirstGrade = 1;
constexpr int kLastGrade = 5;

// The folders of a game folder the generator reads.
inline constexpr const char* kFullWordsFolder = "dico-english";
inline constexpr const char* kEverydayWordsFolder = "dico-everyday";

// The words the bot proves a level with: the game's whole dictionary, and the everyday words
// a person who knows only ordinary words would play. Load once, then share read-only.
struct GeneratorWords {
  Lexicon full;
  Lexicon everyday;
};

// Loads both from a game folder (a host path, e.g. the game's GameFolder()): its dico-english
// and dico-everyday. false, with the folder that failed in error, when either cannot be read.
// The rules look the words of each move up in dico-english through the game folder mapping
// (engine/Files.hpp), so gameFolder must be the folder the game (or tool) plays from.
bool LoadGeneratorWords(const std::string& gameFolder, GeneratorWords& words, std::string* error);

// How many of the deals the bot won, per kind of player; each out of kProofDeals.
constexpr int kProofDeals = 5;
struct Proof {
  int newPlayerWins = 0;  // a new player's Easel (10 slots, no score), full dictionary
  int masterWins = 0;     // a Master (objectives 1 and 2 one higher), full dictionary
  int everydayWins = 0;   // a new player who knows only the everyday words
  int medianMoves = 0;    // over the new player's won deals
  std::string fault;      // first check --strict fault, when the level failed the check
  bool Passed() const;    // >= 4, >= 4, >= 3 of 5, and no fault
};

struct GeneratedLevel {
  bool ok = false;          // false: no candidate passed its proof; nothing should be written
  uint32_t version = kGeneratorVersion;
  int grade = 0;
  uint64_t seed = 0;
  std::string title;        // Windows-1252 bytes, as in the level file
  std::string source;       // the level source text (levels/NN.lvl format)
  std::string mapBytes;     // the binary level file, ready for ReadLevelBytes or maps/N
  int candidates = 0;       // candidates made (1 when the first passed)
  Proof proof;              // the proof of the level given out (or of the last candidate)
  std::string error;        // why ok is false
};

struct GenerateOptions {
  // Deals proven side by side; the verdict and the level never depend on it.
  int threads = 2;
  // Candidates tried before giving up (each next one derived from the seed in order).
  int maxCandidates = 12;
  // Tests only: called on every candidate before it is proven (e.g. to make it unwinnable).
  void (*spoil)(level::Level& candidate) = nullptr;
};

// Makes the level of (grade, seed). grade outside 1..5 gives ok false.
GeneratedLevel GenerateLevel(int grade, uint64_t seed, const GeneratorWords& words,
                             const GenerateOptions& options = {});

// Proves a level's bytes as GenerateLevel does: check --strict, then five deals of each kind.
Proof ProveLevel(const std::string& mapBytes, const GeneratorWords& words, int threads = 2);

}  // namespace qm::gen
