#pragma once
// Every picture the game draws, loaded into its numbered sprite slot.
#include "game/GameState.hpp"

namespace qm {

// Loads the 347 picture files (interface, cells and Pieces, background) again from disk,
// using the grid background (ProgramState) and background picture (GraphicsState) numbers.
// A missing file leaves its slot as it was.
void LoadGraphicsSets(GameState& game);

}  // namespace qm
