// The Easel frame and picture, the carried Piece and the cursor.
#include <algorithm>

#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"
#include "engine/Text.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Easel.hpp"

namespace qm {

namespace {

// 1.5 x v + 100 rounded to the nearest whole number, halves to even.
int LabelRed(int value) {
  int twice = 3 * value + 200;
  int half = twice / 2;
  if (twice % 2 != 0 && half % 2 != 0) ++half;
  return half;
}

// A bonus/malus changed the slot count: the frame tiles of the new end go into the cached
// picture, at the position the Easel had before the change.
void PatchEaselFrame(GameState& game) {
  EaselState& easel = game.easel;
  EaselFramePatch& patch = easel.framePatch;
  if (!patch.pending) return;
  patch.pending = false;
  DrawSprite(kEaselSprite, patch.left - 13, patch.top - 5);
  DrawSprite(kEaselFrameTile, patch.left + (patch.slots - 1) * kEaselSlotWidth - 26, patch.top - 4);
  DrawSprite(kEaselFrameTile, patch.left + patch.slots * kEaselSlotWidth - 26, patch.top - 4);
  GrabScreenToSprite(kEaselSprite, patch.left - 13, patch.top - 5,
                     patch.slots * kEaselSlotWidth + 26, game.program.screenHeight - patch.top + 5);
}

}  // namespace

void DrawEasel(GameState& game) {
  PatchEaselFrame(game);
  const EaselState& easel = game.easel;
  int n = std::clamp<int>(easel.slots[0], 0, kMaxEaselSlots);
  int left = easel.left;
  int top = easel.top;
  // The previous picture is the backdrop: it holds the frame composed at level start.
  DrawSprite(kEaselSprite, left - 13, top - 5);
  for (int k = 1; k <= n; ++k) {
    int x = left + (k - 1) * kEaselSlotWidth;
    DrawSpriteKeyed(kEmptySlot, x, top);
    DrawSpriteKeyed(easel.slots[k], x, top);
  }
  LoadFont(1, "Arial", 7);
  BeginDrawing();
  SetDrawingMode(4);
  UseFont(FontHandleOf(1));
  DrawBox(left - 13, top - 5, n * kEaselSlotWidth + 26, 74, RgbColour(50, 40, 40));
  SetDrawingMode(0);
  for (int k = 1; k <= n; ++k) {
    int x = left + (k - 1) * kEaselSlotWidth + 38;
    int y = top + 53;
    DrawTextAt(x, y, "00", RgbColour(1, 5, 1), RgbColour(0, 1, 0));  // blanks the label place
    int16_t code = easel.slots[k];
    if (IsPieceCode(code)) {
      int value = easel.pieceValue[code];
      int red = LabelRed(value);
      DrawTextAt(x, y, DecimalText(value) + " ", RgbColour(red, red, value + 100),
                 RgbColour(0, 1, 0));
    }
  }
  EndDrawing();
  GrabScreenToSprite(kEaselSprite, left - 13, top - 5, n * kEaselSlotWidth + 26,
                     game.program.screenHeight - top + 5);
}

void ComposeEaselFrame(const GameState& game) {
  const auto& easel = game.easel;
  const int n = easel.slots[0];
  // n + 1 frame tiles, starting half a slot left of the first slot.
  for (int k = 0; k <= n; ++k)
    DrawSprite(kEaselFrameTile, easel.left + (k - 1) * kEaselSlotWidth - 26, easel.top - 4);
  for (int k = 1; k <= n; ++k)
    DrawSpriteKeyed(kEmptySlot, easel.left + (k - 1) * kEaselSlotWidth, easel.top);
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
