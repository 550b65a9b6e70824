#pragma once
// The player list, the level list and the set-up between the level choice and the level.
#include <string>

#include "game/GameState.hpp"
#include "game/Screens.hpp"

namespace qm {

// Player menu entry from its first step (from the title and from a level left through EXIT).
Screen PlayerMenuEntry(GameState& game);
// Player menu entry from its graphics step (back from the level list): the current level
// number and the current-player tables are kept.
Screen PlayerMenuReturn(GameState& game);

// The player list loop: returns the level list once a player is chosen, or the program end.
Screen PlayerMenu(GameState& game);
// The line of profile n in the player list: name, level reached ("Master" from 45), score.
std::string PlayerMenuLine(const MenuState& menu, int n);

// Reads the titles of levels 1 to 50 ("Level i : " + title) from the head of each level file.
void LoadLevelTitles(MenuState& menu);

// The level list loop: returns PrepareGame once a level is chosen, or the player menu.
Screen LevelMenu(GameState& game);

// Piece tables, scroll factors, options, speakers and the carried Easel slot count.
// Returns the level start.
Screen PrepareGame(GameState& game);

}  // namespace qm
