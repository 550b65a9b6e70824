#pragma once
// The accepting half of a turn: points, the effects of the covered cells, refill, history.
#include <cstdint>
#include <string>

#include "game/GameState.hpp"

namespace qm {

// Score arithmetic that never overflows: results beyond the signed 64-bit range stay at
// its ends instead of wrapping to the other sign.
int64_t AddScore(int64_t a, int64_t b);
int64_t MultiplyScore(int64_t a, int64_t b);
// score x percent div 100, truncated toward zero, computed without overflow.
int64_t PercentOfScore(int64_t score, int64_t percent);

// Finishes an accepted turn (details and move total already gathered); the play screen
// redraws the Easel after.
void AcceptMove(GameState& game);

// Applies the effect of the cell code `under` that a Piece laid at (column, row) covered,
// appending its message to moveText.
void ApplyCellEffect(GameState& game, int column, int row, int16_t under, std::string& moveText);

// A mechanism of code 212..214 at (column, row) may lower each wall around it.
void RunMechanism(GameState& game, int column, int row, int16_t code);

}  // namespace qm
