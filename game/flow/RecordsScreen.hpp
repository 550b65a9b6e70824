#pragma once
// The chosen player's records, reached from the level list (its "Records (R)" row or R).
#include <string>
#include <vector>

#include "game/GameState.hpp"
#include "game/Screens.hpp"

namespace qm {

// The lines the records screen shows, top to bottom.
std::vector<std::string> RecordsLines(const PlayerRecords& records);

// Shows them until Escape or a click; returns the level list.
Screen RecordsScreen(GameState& game);

}  // namespace qm
