#pragma once
// F1 asks for a hint: the bot's best move is searched off the frame loop, then shown on
// the StatusLine and as faded Pieces on its Cells. F1 again while it is shown lays them.
#include <cstdint>

#include "game/GameState.hpp"

namespace qm {

constexpr uint32_t kHintShownMs = 5000;

// The F1 press, the search in the background and its answer. Call once per pass.
void HandleHintKey(GameState& game, uint32_t now);

// The shown hint's Pieces go onto their Cells, as if dragged (this turn's Pieces taken back
// first) and the hint is no longer shown; false, with nothing changed, when none is shown.
bool LayHintPieces(GameState& game);

// The hinted Pieces, faded, on the Cells that can still take them.
void DrawHintPieces(const GameState& game, uint32_t now);

// True while a search runs or waits to run (tests step frames until it answers).
bool HintSearchPending(const GameState& game);

}  // namespace qm
