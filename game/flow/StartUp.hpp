#pragma once
// Program start: engine services, fonts, per-player tables, the window, then the title.
#include "game/GameState.hpp"
#include "game/Screens.hpp"

namespace qm {

// Brings the engine up in a fixed order; a device or font that cannot start is reported
// in an "Erreur" message box and ends the program. Returns the title screen.
Screen StartUp(GameState& game);

// Title picture: fade in, hold until a left click, Space or 5 seconds, fade out.
// Returns the player menu entry.
Screen TitleSequence(GameState& game);

// Takes the screen's size again after a present (a full-screen game follows the desktop's
// resolution): the screen width and height, the visible Board span and the Easel's place.
void FollowScreenSize(GameState& game);

// Ends the program like Left Alt + F4 when the window manager asked to close the window.
void EndProgramIfQuitRequested();

}  // namespace qm
