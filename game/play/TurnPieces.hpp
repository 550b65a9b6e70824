#pragma once
// Until the one rule path for laying a Piece is on main: the same rule, kept here.
#include <cstdint>

#include "game/GameState.hpp"

namespace qm {

bool LayPiece(GameState& game, int slot, int column, int row);
int16_t LiftTurnPiece(GameState& game, int column, int row);

}  // namespace qm
