#pragma once
// Keyboard play beside the mouse: a cell cursor moved with the arrow keys, typed letters laid
// from the Easel onto it, and a key for every other action of the play screen. The cursor is
// view state: it lives here, never in the GameState, a saved level or a replay's dump.
#include <cstdint>
#include <optional>
#include <vector>

#include "game/GameState.hpp"
#include "game/play/HexGrid.hpp"

namespace qm {

// A press of the left button the keyboard makes on a point of the screen, for one step.
struct KeyClick {
  int x = 0, y = 0;
};

struct KeyboardView {
  bool started = false;  // StartKeyboardView ran for this level
  CellPos cursor{0, 0};
  int axis = kRow;             // typing direction
  bool shown = true;           // the mouse hides the cursor, a key shows it again
  std::vector<CellPos> typed;  // Cells laid by typing, oldest first
  bool mouseKnown = false;     // mouseX, mouseY hold the pointer of the previous pass
  int mouseX = -1, mouseY = -1;
  int panelEntry = -1;                    // option entry lit by the keyboard, -1 none
  std::optional<KeyClick> optionClick;    // for the option panels' step of this pass
  std::optional<KeyClick> exchangeClick;  // for the exchange tokens' step of this pass
  std::vector<int> tapped;                // game keys pressed and released between two snapshots
  bool exitAsked = false;                 // F10: the EXIT sequence at the EXIT control's step
};

// The one keyboard view of the level being played.
KeyboardView& Keyboard();

// Level start: the cursor on the GO box, typing along the row, nothing typed yet. The first
// level tells on its ChatLog which key lists the keys.
void StartKeyboardView(GameState& game);

// Where the cursor rests: a Cell of the Board that is neither void nor hidden in the fog.
bool CursorMayRest(const BoardState& board, CellPos cell);
// An arrow key's move: one step, on over Cells the cursor may not rest on; it stays where it
// is when the Board's edge comes first.
CellPos MoveCursor(const BoardState& board, CellPos from, CursorMove move);
// After a typed Piece: one Cell along the typing direction, on over Cells holding Pieces; it
// stays where it is when that leaves the Board or ends where it may not rest.
CellPos TypingStep(const BoardState& board, CellPos from, int axis);
// Scrolls the Board (within its Camera limits) until the Cell lies clear of the screen's rim.
void KeepCellInView(BoardState& board, CellPos cell, int screenWidth, int screenHeight);
// The first Easel slot holding a Piece of this letter (a..z), any Material; 0 when none.
int SlotOfLetter(const EaselState& easel, char letter);

// The keys of this pass, after the mouse buttons: cursor, typing, take-back, the direction,
// and the keys that act through the option panels, the exchange, the hint and the EXIT step.
void HandlePlayKeys(GameState& game, uint32_t now);
// The option panels, with the keyboard's lit entry or press in place of the pointer.
void OptionPanelsStep(GameState& game, uint32_t now);
// The exchange tokens, with the keyboard's press in place of the pointer.
void ExchangeTokensStep(GameState& game);
// The key is down in the snapshot, or was tapped too quickly for it since the last pass:
// Space, F2, F1, Escape and Return then act once, as for a press the snapshot saw.
bool KeyDownOrTapped(int scanCode);
// F10 was pressed: the EXIT control's sequence runs at its step.
bool KeyboardExitAsked();
// The cursor: a two-tone hexagon outline with an arrow along the typing direction.
void DrawKeyboardCursor(const GameState& game);

}  // namespace qm
