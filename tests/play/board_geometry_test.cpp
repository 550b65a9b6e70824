// Hex geometry: axes, neighbours, pixels of Cells, pick areas, Camera limits, visible window.
#include <gtest/gtest.h>

#include <set>

#include "game/play/Board.hpp"

namespace qm {
namespace {

BoardState SizedBoard(int w, int h, int cameraX = 0, int cameraY = 0) {
  BoardState board;
  board.w = static_cast<int16_t>(w);
  board.h = static_cast<int16_t>(h);
  board.cells.assign((w + 1) * (h + 1), 157);
  board.cameraX = cameraX;
  board.cameraY = cameraY;
  return board;
}

TEST(HexGrid, StepsAlongEachAxisInvertAndLandOnNeighbours) {
  for (int r = -1; r <= 4; ++r) {
    for (int c = -1; c <= 3; ++c) {
      CellPos pos{c, r};
      auto around = Neighbours(pos);
      std::set<std::pair<int, int>> distinct;
      for (CellPos n : around) {
        distinct.insert({n.column, n.row});
        auto back = Neighbours(n);  // each neighbour's neighbours include the cell
        EXPECT_NE(std::find(back.begin(), back.end(), pos), back.end());
      }
      EXPECT_EQ(distinct.size(), 6u);
      for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(StepBack(axis, StepForward(axis, pos)), pos);
        EXPECT_EQ(StepForward(axis, StepBack(axis, pos)), pos);
        EXPECT_NE(std::find(around.begin(), around.end(), StepForward(axis, pos)), around.end());
        EXPECT_NE(std::find(around.begin(), around.end(), StepBack(axis, pos)), around.end());
      }
    }
  }
}

TEST(HexGrid, AxesReadInTheirDirections) {
  struct Case {
    int axis;
    CellPos from, back, forward;
  } cases[] = {
      {kFallingDiagonal, {3, 2}, {2, 1}, {3, 3}},  // even row: upper left is one column left
      {kFallingDiagonal, {3, 1}, {3, 0}, {4, 2}}, {kRow, {3, 2}, {2, 2}, {4, 2}},
      {kRisingDiagonal, {3, 2}, {2, 3}, {3, 1}},  // rising words start at their lowest Piece
      {kRisingDiagonal, {3, 1}, {3, 2}, {4, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepBack(c.axis, c.from), c.back) << c.axis;
    EXPECT_EQ(StepForward(c.axis, c.from), c.forward) << c.axis;
  }
}

TEST(HexGrid, CellsToScreenPixels) {
  BoardState board = SizedBoard(10, 10, 100, -40);
  struct Case {
    int c, r, x, y;
  } cases[] = {
      {0, 0, 100, -40}, {1, 0, 152, -40}, {0, 1, 126, 5}, {2, 3, 230, 95}, {0, -1, 74, -85}};
  for (const Case& c : cases) {
    int x = 0, y = 0;
    CellToScreen(board, c.c, c.r, x, y);
    EXPECT_EQ(x, c.x) << c.c << "," << c.r;
    EXPECT_EQ(y, c.y) << c.c << "," << c.r;
  }
}

TEST(HexGrid, PickAreasStartSixPixelsBelowTheSprite) {
  BoardState board = SizedBoard(3, 2, 10, 20);
  struct Case {
    int px, py, c, r;
  } cases[] = {
      {10, 20, 0, -1},  // top edge of row 0's sprite: on no Cell
      {10, 25, 0, -1},  // five pixels below: still none
      {10, 26, 0, 0},
      {61, 70, 0, 0},  // last pixel of (0, 0)'s area
      {62, 70, 1, 0},
      {35, 71, -1, 1},  // odd row: column 0 starts 26 pixels right of the Camera
      {36, 71, 0, 1},
      {87, 71, 0, 1},
      {88, 71, 1, 1},
      {10 + 26 + 4 * 52 - 1, 80, 3, 1},
      {10 + 26 + 4 * 52, 80, -1, 1},   // past column W
      {200, 20 + 6 + 3 * 45, -1, -1},  // below row H
      {9, 30, -1, 0},                  // left of the Camera
  };
  for (const Case& c : cases) {
    int col = 7, row = 7;
    ScreenToCell(board, c.px, c.py, col, row);
    EXPECT_EQ(row, c.r) << c.px << "," << c.py;
    if (c.r != -1 || c.c == -1) {
      EXPECT_EQ(col, c.c) << c.px << "," << c.py;
    }
  }
  // Above the Board the row is -1 and the column is computed with the -26 shift.
  int col = 0, row = 0;
  ScreenToCell(board, 10 - 26, 0, col, row);
  EXPECT_EQ(row, -1);
  EXPECT_EQ(col, 0);
}

TEST(HexGrid, CameraLimitsLowerFirstThenUpper) {
  struct Case {
    int w, h, x, y, wantX, wantY;
  } cases[] = {
      {20, 20, -5000, -5000, -14 * 52, -15 * 45},
      {20, 20, 5000, 5000, 1280, 720},  // 1920 / 1.5 and 1080 / 1.5
      {20, 20, 100, -100, 100, -100},
      {2, 2, -500, -500, 208, 135},  // a small Board cannot leave the screen's left
      {20, 20, 1280, 720, 1280, 720},
  };
  for (const Case& c : cases) {
    BoardState board = SizedBoard(c.w, c.h, c.x, c.y);
    ApplyCameraLimits(board, 1920, 1080);
    EXPECT_EQ(board.cameraX, c.wantX) << c.x;
    EXPECT_EQ(board.cameraY, c.wantY) << c.y;
  }
  BoardState odd = SizedBoard(20, 20, 5000, 5000);
  ApplyCameraLimits(odd, 1001, 1000);  // 667.33 and 666.67 round to the nearest
  EXPECT_EQ(odd.cameraX, 667);
  EXPECT_EQ(odd.cameraY, 667);
}

TEST(HexGrid, VisibleWindowFollowsTheCamera) {
  struct Case {
    int x, y, column, row;
  } cases[] = {
      {0, 0, 0, 0},      {-29, -55, 0, 1},  {-75, -100, 1, 2},  {-76, -101, 1, 2},
      {-77, -101, 1, 2}, {-78, -102, 1, 2}, {200, 300, -4, -6}, {-130, -145, 2, 3},
  };
  for (const Case& c : cases) {
    BoardState board = SizedBoard(30, 30, c.x, c.y);
    UpdateVisibleWindow(board);
    EXPECT_EQ(board.firstVisibleColumn, c.column) << c.x;
    EXPECT_EQ(board.firstVisibleRow, c.row) << c.y;
  }
}

}  // namespace
}  // namespace qm
