#pragma once
// Word gathering and the checks of a turn: one line, no gap, a known main word, attached.
#include "game/GameState.hpp"

namespace qm {

// Gathers the word through (column, row) along an axis (kFallingDiagonal, kRow,
// kRisingDiagonal), reading from its first letter to its last, with the multipliers of
// the cells under this turn's Pieces. Sets move.attached when a Piece of a turn of two or
// more covers the start box.
GatheredWord GatherWord(GameState& game, int axis, int column, int row);

// Checks the turn and either refuses it (the Pieces go back to the Easel) or accepts it
// (scores, effects, refill). Ends every turn in one call; the play screen redraws the Easel
// after.
void ValidateMove(GameState& game);

}  // namespace qm
