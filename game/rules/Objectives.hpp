#pragma once
// The level's objectives: progress from accepted words, the panel's texts and the tally.
#include <array>
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

// The points the score objective asks for on that level (0: none).
int64_t ObjectiveScoreTarget(const BoardState& board, int level);

// One objective of the panel as judged now: whether the level has it, whether it is met,
// and its mark ("(2/3)", "(0/1)" ...).
struct ObjectiveLine {
  int widthEntry = 0;  // the line-width entry of its panel line
  bool present = false;
  bool met = false;
  std::string mark;
};

struct ObjectiveTally {
  std::array<ObjectiveLine, 7> lines{};  // in the panel's order, the end box last
  int count = 0;                         // objectives the level has
  int met = 0;                           // of them met
};

// Judges every objective at this moment, without drawing: the end of the level, the
// objectives view and the bot all count with it.
ObjectiveTally JudgeObjectives(const GameState& game);

// Judges and keeps the counts where the level's end reads them: the objective count in
// board.objectives[0], the met count in objectives.progress[0].
ObjectiveTally TallyObjectives(GameState& game);

}  // namespace qm
