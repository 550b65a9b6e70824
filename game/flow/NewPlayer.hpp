#pragma once
// The screen on which a new player types a name and picks an avatar.
#include "game/GameState.hpp"

namespace qm {

// Left edge in the avatar strip (sprite 1003) of avatar a: (a mod 20) x 76.4, rounded.
int AvatarLeftEdge(int avatar);

// Runs until Escape or a written profile number k. On confirmation the menu tables hold the
// name and level reached 1 for k, and "players\k" is written when it could be created.
void NewPlayerEntry(GameState& game, int k);

}  // namespace qm
