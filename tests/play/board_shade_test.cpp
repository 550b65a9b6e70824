// ShadeMap: diagonal bands, fog with its start reveal, magic compartments, lifting the fog.
#include <gtest/gtest.h>

#include "game/play/Board.hpp"

namespace qm {
namespace {

BoardState ShadedBoard(int w, int h, int period, int startColumn = 0, int startRow = 0) {
  BoardState board;
  board.w = static_cast<int16_t>(w);
  board.h = static_cast<int16_t>(h);
  board.cells.assign((w + 1) * (h + 1), 157);
  board.shadePeriod = period;
  board.startColumn = static_cast<int16_t>(startColumn);
  board.startRow = static_cast<int16_t>(startRow);
  return board;
}

TEST(BoardShade, BandsRiseAndFallAlongTheDiagonals) {
  BoardState board = ShadedBoard(7, 3, 1);
  ComputeShadeMap(board);
  const int8_t period1[] = {0, 1, 2, 1, 0, 1, 2, 1, 0, 1, 2};
  for (int x = 0; x <= 7; ++x)
    for (int y = 0; y <= 3; ++y) EXPECT_EQ(ShadeOf(board, x, y), period1[x + y]) << x << "," << y;

  board = ShadedBoard(20, 0, 3);
  ComputeShadeMap(board);
  const int8_t period3[] = {0, 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 5, 4};
  for (int x = 0; x <= 20; ++x) EXPECT_EQ(ShadeOf(board, x, 0), period3[x]) << x;
}

TEST(BoardShade, WideBandsWrapToNegativeShades) {
  BoardState board = ShadedBoard(200, 0, 64);
  ComputeShadeMap(board);
  EXPECT_EQ(ShadeOf(board, 127, 0), 127);
  EXPECT_EQ(ShadeOf(board, 128, 0), -128);  // 128 as a signed byte
  EXPECT_EQ(ShadeOf(board, 129, 0), 127);   // falling again: 256 - 129
  EXPECT_EQ(ShadeOf(board, 130, 0), 126);
  EXPECT_EQ(ShadeOf(board, 200, 0), 56);  // 256 - 200
}

TEST(BoardShade, FogShowsOnlyTheStartSurroundingsAndCompartments) {
  for (int period : {0, -3}) {
    BoardState board = ShadedBoard(30, 30, period, 10, 12);
    board.cells[25 * 31 + 2] = 233;  // a magic compartment far away
    ComputeShadeMap(board);
    // R = period - period = 0: shade = rounded distance, hidden past 6.
    struct Case {
      int x, y, shade;
    } cases[] = {{10, 12, 0},   {11, 12, 1},   {13, 16, 5}, {14, 16, 6},
                 {16, 12, 6},   {17, 12, 127}, {15, 16, 6},  // distance 6.40 rounds to 6
                 {15, 17, 127},                              // 7.07
                 {0, 0, 127},   {25, 2, 0}};
    for (const Case& c : cases) EXPECT_EQ(ShadeOf(board, c.x, c.y), c.shade) << c.x << "," << c.y;
  }
}

TEST(BoardShade, RevealLiftsWithABonusAndNeverDarkens) {
  BoardState board = ShadedBoard(30, 30, 0, 0, 0);
  ComputeShadeMap(board);
  EXPECT_EQ(ShadeOf(board, 20, 20), 127);
  RevealAroundMove(board, 20, 20, 3);  // three Pieces laid: lit within 3, visible within 9
  EXPECT_EQ(ShadeOf(board, 20, 20), 0);
  EXPECT_EQ(ShadeOf(board, 23, 20), 0);
  EXPECT_EQ(ShadeOf(board, 24, 20), 1);
  EXPECT_EQ(ShadeOf(board, 29, 20), 6);
  EXPECT_EQ(ShadeOf(board, 20, 30), 127);
  EXPECT_EQ(ShadeOf(board, 1, 0), 1);  // the start reveal stays
  RevealAroundMove(board, 0, 0, -20);  // a negative bonus lights nothing new and darkens nothing
  EXPECT_EQ(ShadeOf(board, 1, 0), 1);
  EXPECT_EQ(ShadeOf(board, 0, 0), 0);
}

// Reveals of enormous reach, and centres far off the Board: see hostile_levels_test.cpp.

}  // namespace
}  // namespace qm
