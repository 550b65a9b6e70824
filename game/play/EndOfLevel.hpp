#pragma once
// The result panel, the progression between levels and the way back to the player menu.
#include <optional>

#include "game/GameState.hpp"
#include "game/Screens.hpp"

namespace qm {

// Composes the result panel into sprite 1111 with its marks and verdict. firstTime is false
// when it is composed again after the window regained the focus (nothing is carried again).
void ComposeResultPanel(GameState& game, bool firstTime);

// The result-panel step of a pass while the level has ended: Screen::kStartLevel once Escape
// continues (Screen::kBackToLevelList after a generated level), else nothing.
std::optional<Screen> ResultPanelStep(GameState& game);

// The level that follows a finished one: the next (44 wraps to 1) when won, else the same.
int NextLevelNumber(int level, bool won);

// Fades the screen out, saves the player and returns Screen::kPlayerMenuEntry.
Screen ExitToPlayerMenu(GameState& game);

// After a generated level's result panel: saves the player and their records and returns
// the level list (a generated level has no hand-made level after it).
Screen BackToLevelList(GameState& game);

}  // namespace qm
