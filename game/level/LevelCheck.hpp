#pragma once
// Whether a level can be played to its end.
#include <string>
#include <vector>

#include "game/level/LevelBinary.hpp"

namespace qm::level {

// The faults of a decoded level: a malformed file, no start box, no end box, an end box that
// cannot be reached. strict adds the checks made on the game's own levels: tints within
// 0..255 at every shade shown, known cell codes, the StartCell on the Board, a title, a key
// for every kind of lock, words the objectives ask for that fit on the Board.
std::vector<std::string> CheckLevel(const DecodedLevel& decoded, bool strict);

// Whether the end box can be reached from a start box through cells that take Pieces, with
// locks opened by reachable keys and walls next to reachable mechanisms counted as fallen.
bool EndBoxReachable(const Level& level);

}  // namespace qm::level
