#include "game/rules/Records.hpp"
#include "game/rules/Objectives.hpp"

#include <array>

#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"

namespace qm {

namespace {

constexpr int kEndBoxLine = 11;  // line width entry of "Touch the box 'Fin'"
constexpr int kFirstLineY = 110;
constexpr int kLineStep = 16;

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
  return static_cast<int64_t>(game.board.objectives[10]) * 1000 *
         ObjectiveScoreFactor(game.menu.currentLevel);
}

// Whether each present objective is met, in the panel's order.
struct ObjectiveLine {
  int widthEntry;
  bool present;
  bool met;
  std::string mark;
};

std::array<ObjectiveLine, 7> JudgeObjectives(const GameState& game) {
  const auto& target = game.board.objectives;
  const auto& progress = game.objectives.progress;
  std::array<ObjectiveLine, 7> lines{};
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
  return lines;
}

}  // namespace

int64_t ObjectiveScoreFactor(int level) {
  if (level <= 22) return 1;
  return static_cast<int64_t>(level - 22) * 10 + 100;
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
  if (target[9] > 0) lines.emplace_back(9, "- Have at least " + DecimalText(target[9]) + " locations on your easel ");
  if (target[10] > 0) lines.emplace_back(10, "- Have at least " + DecimalText(ScoreTarget(game)) + " points ");
  lines.emplace_back(kEndBoxLine, "- Touch the box 'Fin' ");
  return lines;
}

void DrawObjectivesPanel(GameState& game) {
  ClearFrame(RgbColour(7, 6, 5));
  for (int a = 0; a <= 5; ++a) {
    for (int b = 0; b <= 6; ++b) {
      for (int i = 0; i <= 7 - a; ++i) {
        int alpha = 255 - 30 * i;
        DrawSpriteFaded(158, i * 52 - b * 26 + a - 30, b * 45 - 12, alpha);
        DrawSpriteFaded(158, 858 - i * 52 + b * 26 + a, 214 - b * 45, alpha);
      }
    }
  }
  LoadFont(2, game.program.titleFontFace, 30);
  BeginDrawing();
  SetDrawingMode(1);
  UseFont(FontHandleOf(2));
  std::string title = (game.menu.levelIdentity.kind == LevelKind::kHandMade
                           ? "Lv." + DecimalText(game.menu.currentLevel)
                           : LevelLabel(game.menu)) +
                      " : " + game.board.title;
  DrawTextAt(29, 24, title, RgbColour(10, 10, 40));
  DrawTextAt(25, 20, title, RgbColour(30, 30, 150));
  DrawTextAt(26, 21, title, RgbColour(255, 255, 255));
  LoadFont(1, "Arial", 14);
  UseFont(FontHandleOf(1));
  DrawTextAt(100, 95, "Your objective : ", RgbColour(240, 220, 200));
  LoadFont(1, "Arial", 10);
  UseFont(FontHandleOf(1));
  uint32_t colour = RgbColour(190, 180, 140);
  int y = kFirstLineY;
  for (const auto& [widthEntry, text] : ObjectiveLineTexts(game)) {
    y += kLineStep;
    DrawTextAt(150, y, text, colour);
    game.objectives.lineWidths[widthEntry] = static_cast<int16_t>(TextWidthOf(text));
  }
  y += 40;
  SetDrawingMode(4);
  DrawBox(0, 0, 700, y, RgbColour(4, 1, 1));
  DrawBox(1, 1, 698, y - 2, RgbColour(20, 12, 12));
  DrawBox(2, 2, 696, y - 4, RgbColour(30, 24, 24));
  DrawBox(3, 3, 694, y - 6, RgbColour(45, 37, 37));
  DrawBox(4, 4, 692, y - 8, RgbColour(50, 40, 40));
  EndDrawing();
  GrabScreenToSprite(kResultPanelSprite, 0, 0, 700, y);
  ClearFrame(0);
}

void CountObjectivesMet(GameState& game, int x, int y) {
  DrawSprite(kResultPanelSprite, x, y);
  LoadFont(1, "Arial", 10);
  BeginDrawing();
  SetDrawingMode(0);
  UseFont(FontHandleOf(1));
  uint32_t back = RgbColour(7, 6, 5);
  int objectiveCount = 0;
  int metCount = 0;
  int lineY = y + kFirstLineY;
  for (const ObjectiveLine& line : JudgeObjectives(game)) {
    if (!line.present) continue;
    ++objectiveCount;
    lineY += kLineStep;
    if (line.met) ++metCount;
    uint32_t colour = line.met ? RgbColour(0, 200, 0) : RgbColour(200, 0, 0);
    DrawTextAt(x + game.objectives.lineWidths[line.widthEntry] + 160, lineY, line.mark, colour, back);
  }
  EndDrawing();
  game.board.objectives[0] = static_cast<int8_t>(objectiveCount);
  game.objectives.progress[0] = static_cast<int8_t>(metCount);
}

}  // namespace qm
