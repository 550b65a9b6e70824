#pragma once
// F1 asks for a hint: the bot's best move is searched off the frame loop, then shown on
// the StatusLine and as faded Pieces on its Cells. Nothing is laid and the Easel stays.
#include <cstdint>

#include "game/GameState.hpp"

namespace qm {

constexpr int kKeyF1 = 59;
constexpr uint32_t kHintShownMs = 5000;

// The F1 press, the search in the background and its answer. Call once per pass.
void HandleHintKey(GameState& game, uint32_t now);

// The hinted Pieces, faded, on the Cells that can still take them.
void DrawHintPieces(const GameState& game, uint32_t now);

// True while a search runs or waits to run (tests step frames until it answers).
bool HintSearchPending(const GameState& game);

}  // namespace qm
