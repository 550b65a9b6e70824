// The objectives panel: composed at level start, drawn with its marks at the end of the
// level and in the objectives view.
#include <string>

#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Objectives.hpp"
#include "game/rules/Records.hpp"

namespace qm {

namespace {

constexpr int kFirstLineY = 110;
constexpr int kLineStep = 16;

}  // namespace

void DrawObjectivesPanel(GameState& game) {
  ClearFrame(RgbColour(7, 6, 5));
  for (int a = 0; a <= 5; ++a) {
    for (int b = 0; b <= 6; ++b) {
      for (int i = 0; i <= 7 - a; ++i) {
        int alpha = 255 - 30 * i;
        DrawSpriteFaded(kObjectivesTileSprite, i * 52 - b * 26 + a - 30, b * 45 - 12, alpha);
        DrawSpriteFaded(kObjectivesTileSprite, 858 - i * 52 + b * 26 + a, 214 - b * 45, alpha);
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
  const ObjectiveTally tally = TallyObjectives(game);
  DrawSprite(kResultPanelSprite, x, y);
  LoadFont(1, "Arial", 10);
  BeginDrawing();
  SetDrawingMode(0);
  UseFont(FontHandleOf(1));
  uint32_t back = RgbColour(7, 6, 5);
  int lineY = y + kFirstLineY;
  for (const ObjectiveLine& line : tally.lines) {
    if (!line.present) continue;
    lineY += kLineStep;
    uint32_t colour = line.met ? RgbColour(0, 200, 0) : RgbColour(200, 0, 0);
    DrawTextAt(x + game.objectives.lineWidths[line.widthEntry] + 160, lineY, line.mark, colour,
               back);
  }
  EndDrawing();
}

}  // namespace qm
