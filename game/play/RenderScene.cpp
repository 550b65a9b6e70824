// Background, drifting objects, the Board, its markers and the sparkle.
#include <algorithm>
#include <array>

#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Codes.hpp"

namespace qm {
namespace {

int ColourPart(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, 0, 255));
}

}  // namespace

void StepBackgroundTint(BackgroundTint& tint) {
  for (int i = 0; i < 3; ++i) {
    tint.value[i] += tint.step[i];
    if (tint.value[i] < tint.low[i] || tint.value[i] > tint.high[i]) {
      tint.step[i] = -tint.step[i];
      tint.value[i] += tint.step[i];
    }
  }
}

void DrawBackgroundTint(BackgroundTint& tint) {
  for (int i = 0; i < 3; ++i) {
    do {
      tint.low[i] = static_cast<int32_t>(RandomUpTo(255));
      tint.step[i] = static_cast<int32_t>(RandomUpTo(2) + 1);
      tint.high[i] = static_cast<int32_t>(255 - RandomUpTo(RandomUpTo(255)));
      tint.value[i] = static_cast<int32_t>(RandomUpTo(255));
    } while (!(tint.low[i] < tint.high[i] && tint.low[i] < tint.value[i] &&
               tint.value[i] < tint.high[i]));
  }
}

void DrawSpaceBackground(const GameState& game) {
  const auto& tint = game.render.tint;
  DrawSpriteTinted(
      kBackgroundSprite, game.board.cameraX / 15 - 60, game.board.cameraY / 15 - 35,
      RgbColour(ColourPart(tint.value[0]), ColourPart(tint.value[1]), ColourPart(tint.value[2])));
}

void ScatterDriftingObjects(RenderState& render, int screenWidth, int screenHeight) {
  for (int k = 0; k <= 8; ++k) {
    render.layerA[k].x = static_cast<int32_t>(RandomUpTo(screenWidth) * 64);
    render.layerA[k].y = static_cast<int32_t>(RandomUpTo(screenHeight) - 24);
    render.layerB[k].x = static_cast<int32_t>(RandomUpTo(screenWidth) * 64);
    render.layerB[k].y = static_cast<int32_t>(RandomUpTo(screenHeight) - 24);
  }
}

// One layer of nine objects; x is fixed point in 1/scale pixels, so a larger scale drifts slower.
static void DriftLayer(std::array<DriftingObject, 9>& layer, int scale, int firstSprite,
                       int screenWidth, int screenHeight, uint32_t tint) {
  for (int k = 0; k <= 8; ++k) {
    DriftingObject& object = layer[k];
    object.x += k + 1;
    if (object.x > screenWidth * scale) {
      object.x = static_cast<int32_t>(-100 * scale - RandomUpTo(1000));
      object.y = static_cast<int32_t>(RandomUpTo(screenHeight) - 24);
    }
    DrawSpriteTinted(firstSprite + k, object.x / scale, object.y, tint);
  }
}

void DrawDriftingObjects(RenderState& render, int screenWidth, int screenHeight) {
  const uint32_t grey = RgbColour(99, 99, 99);
  // Layer A moves in 48ths of a pixel, layer B in 64ths: the far layer drifts slower.
  DriftLayer(render.layerA, 48, kFirstDriftObjectA, screenWidth, screenHeight, grey);
  DriftLayer(render.layerB, 64, kFirstDriftObjectB, screenWidth, screenHeight, grey);
}

void DrawBoard(const BoardState& board, int screenWidth, int screenHeight) {
  if (board.cells.empty() || board.shade.size() != board.cells.size()) return;
  const bool fog = board.shadePeriod <= 0;
  const int lastRow = board.firstVisibleRow + screenHeight / 45 + 2;
  const int lastColumn = board.firstVisibleColumn + screenWidth / 52 + 2;
  const int rowFrom = std::max(board.firstVisibleRow, 0);
  const int rowTo = std::min(lastRow, static_cast<int>(board.h));
  const int columnFrom = std::max(board.firstVisibleColumn, 0);
  const int columnTo = std::min(lastColumn, static_cast<int>(board.w));
  const int64_t height = board.h + 1;
  for (int r = rowFrom; r <= rowTo; ++r) {
    for (int c = columnFrom; c <= columnTo; ++c) {
      const int64_t index = c * height + r;
      const int code = board.cells[static_cast<size_t>(index)];
      if (code <= 0) continue;
      int x = 0, y = 0;
      CellToScreen(board, c, r, x, y);
      const int s = board.shade[static_cast<size_t>(index)];
      if (fog && s == kHiddenShade) {
        DrawSpriteShadow(code, x, y);
      } else {
        DrawSpriteTinted(
            code, x, y,
            RgbColour(ColourPart(board.baseTint[0] - int64_t{s} * board.shadeStep[0]),
                      ColourPart(board.baseTint[1] - int64_t{s} * board.shadeStep[1]),
                      ColourPart(board.baseTint[2] - int64_t{s} * board.shadeStep[2])));
      }
    }
  }
}

void DrawMarkers(const GameState& game, uint32_t now) {
  // The Easel holds at most 18 Pieces, so entries 19 and 20 are never in use.
  const bool lastWord = now % 2048 < 1024;
  for (int k = 1; k <= 18; ++k) {
    int column = lastWord ? game.render.lastWordColumn[k] : game.easel.laid[k].column;
    int row = lastWord ? game.render.lastWordRow[k] : game.easel.laid[k].row;
    if (column <= -1) continue;
    int x = 0, y = 0;
    CellToScreen(game.board, column, row, x, y);
    DrawSpriteKeyed(lastWord ? kSpaceTakingPieces : kLaidMark, x, y);
  }
}

void DrawSparkle(RenderState& render, const BoardState& board) {
  if (render.sparklePhase == 0) {
    if (RandomUpTo(100) == 0) {
      render.sparkleStep = 8;
      render.sparklePhase = 8;
      render.sparkleColumn = static_cast<int8_t>(RandomUpTo(board.w));
      render.sparkleRow = static_cast<int8_t>(RandomUpTo(board.h));
    }
    return;
  }
  int x = 0, y = 0;
  CellToScreen(board, render.sparkleColumn, render.sparkleRow, x, y);
  DrawSpriteFaded(kSparkleSprite, x, y, render.sparklePhase);
  render.sparklePhase += render.sparkleStep;
  if (render.sparklePhase > 60) render.sparkleStep = -render.sparkleStep;
}

void ResetFrameCounters(RenderState& render, uint32_t now) {
  render.levelStartMark = now;
  render.secondMark = now;
  render.frameCount = -20;  // the first 20 frames do not count toward the average
  render.framesThisSecond = 0;
  render.framesPerSecond = 20;
  render.averageFps = 20;
}

void CountFrame(RenderState& render, uint32_t now) {
  const int32_t seconds = static_cast<int32_t>((now - render.levelStartMark) / 1000);
  render.frameCount += 1;
  if (seconds != 0 && now % 1000 < 200) render.averageFps = render.frameCount / seconds;
  render.framesThisSecond += 1;
  if (now - render.secondMark >= 1000) {
    render.framesPerSecond = render.framesThisSecond;
    render.framesThisSecond = 0;
    render.secondMark = now;
  }
}

}  // namespace qm
