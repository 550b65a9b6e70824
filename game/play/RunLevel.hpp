#pragma once
// The frame loop of one level.
#include <optional>

#include "game/GameState.hpp"
#include "game/Screens.hpp"

namespace qm {

// Runs passes until the level is left: Screen::kStartLevel when the result panel's Escape or
// the chat's level skip starts a level, Screen::kExitToPlayerMenu for the EXIT control.
// Left Alt + F4 ends the program (EndProgram) with nothing saved; a close asked by the
// desktop saves the player first.
Screen RunLevel(GameState& game);

// One pass of the loop: the screen to go to, or nothing to go on with the next pass.
std::optional<Screen> RunLevelPass(GameState& game);

}  // namespace qm
