#include "game/rules/Objectives.hpp"

#include "engine/Text.hpp"

namespace qm {

namespace {

constexpr int kEndBoxLine = 11;  // line width entry of "Touch the box 'Fin'"

// The word objectives: target entry k, minimum length k + 1, and the Material each asks.
struct WordObjective {
  int entry;
  int material;  // kMaterialUnknown: any Material
  const char* materialText;
};
constexpr std::array<WordObjective, 4> kWordObjectives = {{
    {1, kMaterialUnknown, " "},
    {3, kSilver, " of silver "},
    {5, kGold, " of gold "},
    {7, kDiamond, " of diamond "},
}};

int64_t ScoreTarget(const GameState& game) {
  return ObjectiveScoreTarget(game.board, game.menu.currentLevel);
}

}  // namespace

int64_t ObjectiveScoreFactor(int level) {
  if (level <= 22) return 1;
  return static_cast<int64_t>(level - 22) * 10 + 100;
}

int64_t ObjectiveScoreTarget(const BoardState& board, int level) {
  return static_cast<int64_t>(board.objectives[10]) * 1000 * ObjectiveScoreFactor(level);
}

ObjectiveTally JudgeObjectives(const GameState& game) {
  const auto& target = game.board.objectives;
  const auto& progress = game.objectives.progress;
  ObjectiveTally tally;
  auto& lines = tally.lines;
  int i = 0;
  for (const WordObjective& word : kWordObjectives) {
    int k = word.entry;
    bool met = progress[k] >= target[k];
    lines[i++] = {k, target[k] > 0, met,
                  "(" + DecimalText(progress[k]) + "/" + DecimalText(target[k]) + ")"};
  }
  bool slotsMet = game.easel.slots[0] >= target[9];
  lines[i++] = {9, target[9] > 0, slotsMet, slotsMet ? "(1/1)" : "(0/1)"};
  bool scoreMet = game.players.scores[0] >= ScoreTarget(game);
  lines[i++] = {10, target[10] > 0, scoreMet, scoreMet ? "(1/1)" : "(0/1)"};
  bool endMet = game.play.endTick != 0;
  lines[i++] = {kEndBoxLine, true, endMet, endMet ? "(1/1)" : "(0/1)"};
  for (const ObjectiveLine& line : lines) {
    if (!line.present) continue;
    ++tally.count;
    if (line.met) ++tally.met;
  }
  return tally;
}

ObjectiveTally TallyObjectives(GameState& game) {
  ObjectiveTally tally = JudgeObjectives(game);
  game.board.objectives[0] = static_cast<int8_t>(tally.count);
  game.objectives.progress[0] = static_cast<int8_t>(tally.met);
  return tally;
}

void CountWordForObjectives(GameState& game, int length, int material) {
  const auto& target = game.board.objectives;
  auto& progress = game.objectives.progress;
  // The counters stop at their targets.
  for (const WordObjective& word : kWordObjectives) {
    int k = word.entry;
    if (target[k] <= progress[k] || length < target[k + 1]) continue;
    if (word.material != kMaterialUnknown && material != word.material) continue;
    ++progress[k];
  }
}

std::vector<std::pair<int, std::string>> ObjectiveLineTexts(const GameState& game) {
  const auto& target = game.board.objectives;
  std::vector<std::pair<int, std::string>> lines;
  for (const WordObjective& word : kWordObjectives) {
    int k = word.entry;
    if (target[k] <= 0) continue;
    lines.emplace_back(k, "- Make " + DecimalText(target[k]) + " word(s)" + word.materialText +
                              "at least " + DecimalText(target[k + 1]) + " letters ");
  }
  if (target[9] > 0)
    lines.emplace_back(9,
                       "- Have at least " + DecimalText(target[9]) + " locations on your easel ");
  if (target[10] > 0)
    lines.emplace_back(10, "- Have at least " + DecimalText(ScoreTarget(game)) + " points ");
  lines.emplace_back(kEndBoxLine, "- Touch the box 'Fin' ");
  return lines;
}

}  // namespace qm
