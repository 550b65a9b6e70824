#pragma once
// Descriptions of cells and Pieces, and the StatusLine that shows them.
#include <string>

#include "game/GameState.hpp"

namespace qm {

// The description of a cell or Piece code (-1 for a cell hidden by the fog).
std::string DescriptionOf(const GameState& game, int code);

// Shows a text on the StatusLine from now on.
void ShowStatusLine(GameState& game, const std::string& text);

// Milliseconds a StatusLine text stays: its length x 100 + 5000.
int64_t StatusLineDuration(const std::string& text);

// Answers a description request (start value 1): its sound, the text, its ChatLog line.
// Whether the StatusLine is still shown now (false once its time is over).
bool UpdateStatusLine(GameState& game);

}  // namespace qm
