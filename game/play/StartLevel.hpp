#pragma once
// Prepares the current level (menu.currentLevel): resets the play state, deals the Easel,
// reloads the pictures, loads the Board, music and sounds.
#include "game/GameState.hpp"
#include "game/Screens.hpp"

namespace qm {

// Returns Screen::kRunLevel.
Screen StartLevel(GameState& game);

// The level's music (per the music option) and sound effects, as a level start loads them.
void LoadLevelMusicAndSounds(GameState& game);

// The level's music track: levels repeat the 12 tracks (level 13 plays track 1).
int LevelMusicTrack(int level);

}  // namespace qm
