// The Easel frame and picture, the carried Piece and the cursor.
#include "engine/Screen.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

void ComposeEaselFrame(const GameState& game) {
  const auto& easel = game.easel;
  const int n = easel.slots[0];
  // n + 1 frame tiles, starting half a slot left of the first slot.
  for (int k = 0; k <= n; ++k) DrawSprite(kEaselFrameTile, easel.left + (k - 1) * kEaselSlotWidth - 26, easel.top - 4);
  for (int k = 1; k <= n; ++k) DrawSpriteKeyed(kEmptySlot, easel.left + (k - 1) * kEaselSlotWidth, easel.top);
  GrabScreenToSprite(kEaselSprite, easel.left - 13, easel.top - 5, n * kEaselSlotWidth + 26,
                     game.program.screenHeight - easel.top + 5);
}

void DrawEaselPicture(const GameState& game) {
  DrawSprite(kEaselSprite, game.easel.left - 13, game.easel.top - 5);
}

void DrawCarriedOrCursor(const GameState& game) {
  const auto& play = game.play;
  if (play.dragState == 1 && HoldsPiece(play.carriedCode)) {
    DrawSpriteFaded(play.carriedCode, play.mouseX - 26, play.mouseY - 29, 190);
  } else {
    DrawSpriteKeyed(kPointerSprite, play.mouseX, play.mouseY);
  }
}

void UpdateCursorState(GameState& game) {
  auto& render = game.render;
  render.cursorState = (game.play.dragState != 0 || game.play.right != 0) ? 1 : 0;
  if (render.cursorState != render.appliedCursorState) {
    SetSpriteClip(kPointerSprite, render.cursorFrame * 32 + render.cursorState * 128, 0, 32, 32);
    render.appliedCursorState = render.cursorState;
  }
}

}  // namespace qm
