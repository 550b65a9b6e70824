#pragma once
// The input steps of a pass of the play loop.
#include <cstdint>

#include "game/GameState.hpp"

namespace qm {

// Right button: take back a Piece of this turn on the first pass of a press, scroll while held.
void HandleRightButton(GameState& game);
// Left button: pick up, then drop (lay, swap or send back) when the press ends.
void HandleLeftButton(GameState& game);
// Escape held: this turn's Pieces go back to the Easel.
void HandleEscape(GameState& game, uint32_t now);
// Space, F2 or the middle button: ValidateMove once per press.
void HandleValidationKeys(GameState& game);
// Return or keypad Enter: open the chat, or close it and hand the line over.
void HandleReturn(GameState& game, uint32_t now);
// The chat line editor (only while the chat is open).
void EditChatLine(GameState& game, uint32_t now);
// The EXIT square: true when left and right are both held on it.
bool HandleExitControl(GameState& game, uint32_t now);
// Exchange tokens, their dialog and the marks of the Easel slots.
void HandleExchangeTokens(GameState& game);
// While the window is inactive: music turned down, wait for the window to come back.
void WaitWhileInactive(GameState& game);
// A close asked by the desktop (window manager, logout): the player is saved as by the
// EXIT control, then the program ends. Returns only when no close was asked.
void EndProgramIfDesktopClose(GameState& game);

}  // namespace qm
