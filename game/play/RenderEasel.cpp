// The Easel frame and picture, the carried Piece and the cursor.
#include "engine/Screen.hpp"
#include "game/play/Render.hpp"

namespace qm {

void ComposeEaselFrame(const GameState& game) {
  const auto& easel = game.easel;
  const int n = easel.slots[0];
  // n + 1 frame tiles, starting half a slot left of the first slot.
  for (int k = 0; k <= n; ++k) DrawSprite(228, easel.left + (k - 1) * 52 - 26, easel.top - 4);
  for (int k = 1; k <= n; ++k) DrawSpriteKeyed(160, easel.left + (k - 1) * 52, easel.top);
  GrabScreenToSprite(1200, easel.left - 13, easel.top - 5, n * 52 + 26,
                     game.program.screenHeight - easel.top + 5);
}

void DrawEaselPicture(const GameState& game) {
  DrawSprite(1200, game.easel.left - 13, game.easel.top - 5);
}

void DrawCarriedOrCursor(const GameState& game) {
  const auto& play = game.play;
  if (play.dragState == 1 && play.carriedCode >= 1 && play.carriedCode <= 130) {
    DrawSpriteFaded(play.carriedCode, play.mouseX - 26, play.mouseY - 29, 190);
  } else {
    DrawSpriteKeyed(1001, play.mouseX, play.mouseY);
  }
}

void UpdateCursorState(GameState& game) {
  auto& render = game.render;
  render.cursorState = (game.play.dragState != 0 || game.play.right != 0) ? 1 : 0;
  if (render.cursorState != render.appliedCursorState) {
    SetSpriteClip(1001, render.cursorFrame * 32 + render.cursorState * 128, 0, 32, 32);
    render.appliedCursorState = render.cursorState;
  }
}

}  // namespace qm
