#pragma once
// Every screen runs its own loop and returns the screen that follows; main dispatches in a
// loop, so playing any number of levels in a row never grows the stack.
#include "game/GameState.hpp"

namespace qm {

enum class Screen {
  kStartUp,           // engine services, fonts, window (then the title)
  kTitle,             // title fade in, hold, fade out
  kPlayerMenuEntry,   // player menu entry, from its first step
  kPlayerMenuReturn,  // back from the level list: entry from its graphics step
  kLevelMenu,         // the level list of the chosen player
  kPrepareGame,       // values a run of levels needs
  kStartLevel,        // prepares the current level
  kRunLevel,          // the frame loop of one level
  kExitToPlayerMenu,  // fade out, save the player, back to the player menu
  kBackToLevelList,   // a generated level ended: save the player, back to the level list
  kRecords,           // the chosen player's records
  kEndProgram,        // the one way out
};

// Runs one screen and returns the next.
Screen RunScreen(GameState& game, Screen screen);

}  // namespace qm
