#pragma once
// The hexagonal geometry of the Board: rows 45 pixels apart, cells 52 pixels apart, odd rows
// shifted half a cell (26 pixels) to the right. Three axes run through every cell.
#include <array>

#include "game/GameState.hpp"

namespace qm {

constexpr int kCellPitchX = 52;
constexpr int kCellPitchY = 45;
constexpr int kOddRowShift = 26;

struct CellPos {
  int column;
  int row;
  bool operator==(const CellPos&) const = default;
};

// axis 0 falling diagonal (upper left to lower right), 1 row (left to right),
// 2 rising diagonal (lower left to upper right). Back goes to where a word starts.
CellPos StepBack(int axis, CellPos pos);
CellPos StepForward(int axis, CellPos pos);

// The six neighbours: left, right, then the two above and the two below, left first.
std::array<CellPos, 6> Neighbours(CellPos pos);

// The keyboard cursor's steps. Left and Right go along the row. Up and Down keep the column
// number: from an even row that is the neighbour up (down) and to the right, from an odd row
// the one to the left, so the cursor zigzags in one screen column and Up undoes Down.
enum class CursorMove { kLeft, kRight, kUp, kDown };
CellPos CursorStep(CursorMove move, CellPos pos);

// Top-left corner of the Cell's sprite on screen.
void CellToScreen(const BoardState& board, int c, int r, int& x, int& y);
// The Cell whose pick area holds the point: the 52x45 rectangle from 6 pixels below the
// sprite's top-left corner. Column and row are each -1 when off the Board.
void ScreenToCell(const BoardState& board, int px, int py, int& c, int& r);

// Keeps the Camera so the Board cannot be scrolled away: lower limits first, then upper.
void ApplyCameraLimits(BoardState& board, int screenWidth, int screenHeight);
// First visible column and row, from the Camera.
void UpdateVisibleWindow(BoardState& board);

}  // namespace qm
