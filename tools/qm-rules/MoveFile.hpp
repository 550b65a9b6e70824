#pragma once
// One turn described in JSON: the level, the dictionary, the state before the turn and the
// Pieces laid. Setting it up and reading the outcome go through the game's own code.
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/GameState.hpp"

namespace qm {

// A move file that cannot be played (bad JSON, a Piece off the Board or not on the Easel).
struct BadMove : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Loads the level, maps the dictionary, seeds the random source, deals the state of the
// move file into `game` and lays its Pieces as the play loop does. Returns the Board's
// cell codes as they were before the Pieces were laid. Throws BadMove.
std::vector<int16_t> SetUpMove(GameState& game, const nlohmann::json& move);

// Runs the turn (ValidateMove) and returns the outcome object. `before` is the Board as it
// was before the Pieces were laid.
nlohmann::ordered_json EvaluateMove(GameState& game, const std::vector<int16_t>& before);

}  // namespace qm
