#pragma once
// The level's objectives: progress from accepted words, the panel and the tally.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/GameState.hpp"
#include "game/rules/Codes.hpp"

namespace qm {


// F: 1 for levels 1..22, then (level - 22) x 10 + 100.
int64_t ObjectiveScoreFactor(int level);

// Offers one found word (its length and Material) to the progress counters.
void CountWordForObjectives(GameState& game, int length, int material);

// The panel's lines in order, each with the line-width entry it fills (1, 3, 5, 7, 9, 10,
// and 11 for the end box).
std::vector<std::pair<int, std::string>> ObjectiveLineTexts(const GameState& game);

// Composes the objectives panel into sprite 1111 (and clears the frame).
void DrawObjectivesPanel(GameState& game);

// Draws sprite 1111 at (x, y) with a mark after each objective, and sets the objective
// count (board.objectives[0]) and the met count (objectives.progress[0]).
void CountObjectivesMet(GameState& game, int x, int y);

}  // namespace qm
