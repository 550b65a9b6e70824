#include "game/play/HexGrid.hpp"

#include <cmath>
#include <cstdint>

namespace qm {
namespace {

// Row parity that stays 0 or 1 above the Board too, so steps there still invert each other.
int Parity(int row) {
  return row & 1;
}

int ClampToInt(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int>(v);
}

}  // namespace

CellPos StepBack(int axis, CellPos pos) {
  switch (axis) {
    case kFallingDiagonal: {
      int row = pos.row - 1;
      return {pos.column - Parity(row), row};
    }
    case kRisingDiagonal: {
      int row = pos.row + 1;
      return {pos.column - Parity(row), row};
    }
    default:
      return {pos.column - 1, pos.row};
  }
}

CellPos StepForward(int axis, CellPos pos) {
  switch (axis) {
    case kFallingDiagonal: {
      int row = pos.row + 1;
      return {pos.column + Parity(row + 1), row};
    }
    case kRisingDiagonal: {
      int row = pos.row - 1;
      return {pos.column + Parity(row + 1), row};
    }
    default:
      return {pos.column + 1, pos.row};
  }
}

std::array<CellPos, 6> Neighbours(CellPos pos) {
  int shift = Parity(pos.row);  // odd rows reach one column further right
  return {CellPos{pos.column - 1, pos.row},
          CellPos{pos.column + 1, pos.row},
          CellPos{pos.column - 1 + shift, pos.row - 1},
          CellPos{pos.column + shift, pos.row - 1},
          CellPos{pos.column - 1 + shift, pos.row + 1},
          CellPos{pos.column + shift, pos.row + 1}};
}

CellPos CursorStep(CursorMove move, CellPos pos) {
  switch (move) {
    case CursorMove::kLeft:
      return {pos.column - 1, pos.row};
    case CursorMove::kRight:
      return {pos.column + 1, pos.row};
    case CursorMove::kUp:
      return {pos.column, pos.row - 1};
    case CursorMove::kDown:
      return {pos.column, pos.row + 1};
  }
  return pos;
}

void CellToScreen(const BoardState& board, int c, int r, int& x, int& y) {
  x = ClampToInt(int64_t{c} * kCellPitchX + (r % 2) * kOddRowShift + board.cameraX);
  y = ClampToInt(int64_t{r} * kCellPitchY + board.cameraY);
}

void ScreenToCell(const BoardState& board, int px, int py, int& c, int& r) {
  int64_t dy = int64_t{py} - board.cameraY - 6;
  r = -1;
  if (dy >= 0) {
    int64_t row = dy / kCellPitchY;
    if (row <= board.h) r = static_cast<int>(row);
  }
  // Above or below the Board the row is -1, whose signed remainder shifts the other way.
  int64_t dx = int64_t{px} - board.cameraX - (r % 2) * kOddRowShift;
  c = -1;
  if (dx >= 0) {
    int64_t column = dx / kCellPitchX;
    if (column <= board.w) c = static_cast<int>(column);
  }
}

void ApplyCameraLimits(BoardState& board, int screenWidth, int screenHeight) {
  int64_t x = board.cameraX, y = board.cameraY;
  int64_t lowX = -(int64_t{board.w} - 6) * kCellPitchX;
  int64_t lowY = -(int64_t{board.h} - 5) * kCellPitchY;
  if (x < lowX) x = lowX;
  if (y < lowY) y = lowY;
  int64_t highX = static_cast<int64_t>(std::nearbyint(screenWidth / 1.5));
  int64_t highY = static_cast<int64_t>(std::nearbyint(screenHeight / 1.5));
  if (x > highX) x = highX;
  if (y > highY) y = highY;
  board.cameraX = ClampToInt(x);
  board.cameraY = ClampToInt(y);
}

void UpdateVisibleWindow(BoardState& board) {
  board.firstVisibleRow = ClampToInt(-((int64_t{board.cameraY} + 10) / kCellPitchY));
  board.firstVisibleColumn = ClampToInt(-((int64_t{board.cameraX} + 23) / kCellPitchX));
}

}  // namespace qm
