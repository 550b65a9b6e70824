#pragma once
// Hints: the move the bot would play now, found by its own move search.
#include <cstdint>
#include <string>
#include <vector>

#include "game/GameState.hpp"
#include "game/rules/Lexicon.hpp"
#include "game/rules/MoveSearch.hpp"

namespace qm {

// This turn's Pieces (and a Piece being carried) back on the Easel, as a right click would
// put them: the state a hint is searched from. Meant for a copy; draws nothing.
void TakeBackForHint(GameState& game);

// The bot's moves for the state as it is (take back first), best first; empty when none.
// Pure: reads `game` and the lexicon only, so it may run on a copy off the game thread.
std::vector<Candidate> FindHintMoves(const GameState& game, const Lexicon& lexicon);

struct Hint {
  bool found = false;
  std::vector<Placement> pieces;
  std::string word;    // the main word, lower case
  int64_t points = 0;  // the move total the rules will count (before the cells' percentages)
};

// The best move for the player's turn, with the Pieces of this turn taken back.
Hint FindHint(const GameState& game, const Lexicon& lexicon);

}  // namespace qm
