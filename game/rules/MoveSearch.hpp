#pragma once
// Finds the moves the Easel allows on the Board and weighs them: progress toward the end
// box (or toward the cells the objectives still need), objective words, and points.
#include <cstdint>
#include <string>
#include <vector>

#include "game/GameState.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Lexicon.hpp"

namespace qm {

struct Placement {
  int column = 0;
  int row = 0;
  int16_t code = 0;  // the Easel Piece laid there
};

struct Candidate {
  std::vector<Placement> pieces;
  std::string word;    // the main word
  int64_t points = 0;  // the words' points before percentages
  double value = 0;    // how much the bot wants it
  bool coversEnd = false;
};

// What the level still asks for, judged before the move.
struct Needs {
  int wordsLeft = 0, wordLength = 0;  // objective 1-2
  int materialLeft[3] = {0, 0, 0};    // silver, gold, diamond words still to make
  int materialLength[3] = {0, 0, 0};
  int easelTarget = 0;      // 0: no Easel objective
  int64_t scoreTarget = 0;  // 0: no score objective
};

// The Board's lines along the three axes, built once per level.
struct BoardLines {
  std::vector<std::vector<CellPos>> lines;
  std::vector<int> axisOf;
};
BoardLines BuildLines(const BoardState& board);

struct SearchOptions {
  bool visibleOnly = true;  // in fog, lay only on Cells the player can see
  // Cells (board index) the bot has found it cannot lay on for several turns: the way
  // toward the goal is sought around them.
  const std::vector<uint8_t>* stuck = nullptr;
  // Filled with 1 for every Cell some legal move of this turn covers. Without it the search
  // skips the moves that cannot be among the best (the same best moves, found sooner).
  std::vector<uint8_t>* coverable = nullptr;
};

// The best moves the Easel allows (at most 16), best first; empty when none exists.
std::vector<Candidate> FindMoves(const GameState& game, const BoardLines& lines,
                                 const Lexicon& lexicon, const Needs& needs,
                                 const SearchOptions& options);

Needs JudgeNeeds(const GameState& game, int level);
bool NeedsMet(const Needs& needs, const GameState& game);

}  // namespace qm
