// A level file read as LoadLevel reads it, then the fog lifted after a move at random
// places, and the geometry asked about every corner of the screen.
#include <cstdint>
#include <cstdlib>

#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  std::string path = fuzz::WriteTempFile("maps/1", data, size);
  BoardState board;
  // The last byte picks a Master or not, so the raised objectives are read too.
  int levelReached = size > 0 && (data[size - 1] & 1) ? 45 : 3;
  ReadLevelFile(board, path, levelReached, 1024, 768);

  const int64_t cells = (int64_t{board.w} + 1) * (int64_t{board.h} + 1);
  if (board.w < 0 || board.h < 0 || cells > kMaxBoardCells) std::abort();
  if (static_cast<int64_t>(board.cells.size()) != cells) std::abort();
  if (static_cast<int64_t>(board.shade.size()) != cells) std::abort();

  // An accepted move lifts the fog around its first Piece with a bonus from the level.
  for (int centre : {0, 1, -1}) {
    int cx = board.startColumn + centre * 3, cy = board.startRow - centre * 2;
    RevealAroundMove(board, cx, cy, 6);
    RevealAroundMove(board, cx, cy, board.shadePeriod + 20);
  }
  for (int8_t s : board.shade)
    if (s > 6 && s != kHiddenShade && board.shadePeriod <= 0) std::abort();

  int x = 0, y = 0, c = 0, r = 0;
  for (int py : {-5, 0, 7, 383, 767}) {
    for (int px : {-5, 0, 30, 511, 1023}) {
      ScreenToCell(board, px, py, c, r);
      if (c >= 0 && r >= 0) {
        (void)CellCode(board, c, r);
        (void)ShadeOf(board, c, r);
        CellToScreen(board, c, r, x, y);
      }
    }
  }
  ApplyCameraLimits(board, 1024, 768);
  UpdateVisibleWindow(board);
  return 0;
}
