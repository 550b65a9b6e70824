// The StatusLine across the top of the play screen.
#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Describe.hpp"

namespace qm {

void DescribeCell(GameState& game) {
  if (!UpdateStatusLine(game)) return;
  const StatusState& status = game.status;
  LoadFont(1, "Arial", 10 + game.program.chatTextSize);
  BeginDrawing();
  SetDrawingMode(0);
  UseFont(FontHandleOf(1));
  int width = TextWidthOf(status.text);
  DrawTextAt(game.program.screenWidth / 2 - width / 2, 12, status.text, RgbColour(255, 255, 255),
             RgbColour(0, 0, 0));
  EndDrawing();
}

}  // namespace qm
