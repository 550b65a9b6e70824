#pragma once
// The screen on which a new player types a name and picks an avatar.
#include <string>

#include "game/GameState.hpp"

namespace qm {

// Left edge in the avatar strip (sprite 1003) of avatar a: (a mod 20) x 76.4, rounded.
int AvatarLeftEdge(int avatar);

// Adds typed text to a name being typed (in capitals when shift is held), drops carriage
// returns and backspaces, and keeps at most 127 bytes, the most the profile's length byte holds.
void AppendTypedText(std::string& name, const std::string& typed, bool shift);

// Runs until Escape or a written profile number k. On confirmation the menu tables hold the
// name and level reached 1 for k, and "players\k" is written when it could be created.
void NewPlayerEntry(GameState& game, int k);

}  // namespace qm
