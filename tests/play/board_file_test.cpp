// Reading a level file into the Board: layout, rolling key, bad files, Master objectives.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "engine/Files.hpp"
#include "game/play/Board.hpp"
#include "tests/support/LevelBytes.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::FilledLevel;
using test::LevelBytes;

class BoardFileTest : public ::testing::Test {
 protected:
  LevelRead Read(const std::string& bytes, int levelReached = 1) {
    std::string path = dir_ + "/level";
    test::WriteBytes(path, bytes);
    return ReadLevelFile(board_, path, levelReached, 1080, 900);
  }
  void ExpectOneCellBoard() {
    EXPECT_EQ(board_.w, 0);
    EXPECT_EQ(board_.h, 0);
    EXPECT_EQ(board_.cells, std::vector<int16_t>{0});
    EXPECT_EQ(board_.startColumn, 0);
    EXPECT_EQ(board_.startRow, 0);
    EXPECT_LE(board_.shadePeriod, 0);
    for (int k = 0; k <= 20; ++k) EXPECT_EQ(board_.objectives[k], 0);
    EXPECT_EQ(board_.title, "");
  }
  test::TempFolder temp_{"qm-board"};
  std::string dir_ = temp_.path();
  BoardState board_;
};

TEST_F(BoardFileTest, DecodesAKnownFile) {
  // Title "Ab", keys 1234h -2 7 300 -32768, 3 x 2 Cells, start (1, 1); worked out by hand.
  const std::string bytes(
      "\x02\x41\x62\x34\x12\xFE\xFF\x07\x00\x2C\x01\x00\x80\xFC\xFF\x06\x00\x2D\x01\x35\x12\xDD"
      "\x00\x8C\x01\x91\x80\x34\x12\x25\xFF\x0C\xEF\x03\x00\x0A\x00\x14\x00\x1E\x00\xC8\x00\xBE"
      "\x00\xB4\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13"
      "\x14",
      67);
  ASSERT_EQ(Read(bytes), LevelRead::kRead);
  EXPECT_EQ(board_.title, "Ab");
  EXPECT_EQ(board_.w, 2);
  EXPECT_EQ(board_.h, 1);
  EXPECT_EQ(board_.startColumn, 1);
  EXPECT_EQ(board_.startRow, 1);
  int16_t want[2][3] = {{218, 160, 145}, {0, 219, -5}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(CellCode(board_, c, r), want[r][c]) << c << "," << r;
  EXPECT_EQ(board_.cells[1], 0);  // column-major: (0, 1) follows (0, 0)
  EXPECT_EQ(board_.shadePeriod, 3);
  EXPECT_EQ(board_.shadeStep, (std::array<int32_t, 3>{10, 20, 30}));
  EXPECT_EQ(board_.baseTint, (std::array<int32_t, 3>{200, 190, 180}));
  EXPECT_EQ(board_.objectives[0], 0);
  for (int k = 1; k <= 20; ++k) EXPECT_EQ(board_.objectives[k], k);
  // The initial Camera centres the StartCell: (1080 div 108 - 1) * 52, (900 div 90 - 1) * 45.
  EXPECT_EQ(board_.cameraX, 9 * 52);
  EXPECT_EQ(board_.cameraY, 9 * 45);
  EXPECT_EQ(board_.revealColumn[1], 1);
  EXPECT_EQ(board_.revealRow[8], 1);
}

TEST_F(BoardFileTest, EveryMaskDependsOnTheCellsReadBefore) {
  LevelBytes narrow = FilledLevel(1, 1, 157), wide = FilledLevel(2, 1, 157);
  for (LevelBytes* level : {&narrow, &wide}) {
    level->key[0] = 11;
    level->key[1] = -7;
    level->key[2] = 999;
    level->key[3] = 4;
    level->key[4] = 5;
  }
  // Both decode to their codes.
  for (LevelBytes* level : {&narrow, &wide}) {
    ASSERT_EQ(Read(level->Encode()), LevelRead::kRead);
    for (int r = 0; r <= level->h; ++r)
      for (int c = 0; c <= level->w; ++c) EXPECT_EQ(CellCode(board_, c, r), 157);
  }
  // Row 1's first Cell, as the narrow file holds it, put into the wide file: read after three
  // Cells instead of two, it no longer reads as the same code; the Cells around it still do.
  const size_t cellsAt = 1 + 10 + 8;
  std::string bytes = wide.Encode();
  bytes.replace(cellsAt + 6, 2, narrow.Encode().substr(cellsAt + 4, 2));
  ASSERT_EQ(Read(bytes), LevelRead::kRead);
  EXPECT_EQ(CellCode(board_, 2, 0), 157);
  EXPECT_NE(CellCode(board_, 0, 1), 157);
  EXPECT_EQ(CellCode(board_, 1, 1), 157);
}

TEST_F(BoardFileTest, TitleLengthZeroOrNegativeReadsNoTitle) {
  for (int lengthByte : {0, 128, 255}) {
    LevelBytes level = FilledLevel(1, 0, 219);
    level.key[1] = 3;
    std::string bytes = level.Encode();
    bytes[0] = static_cast<char>(lengthByte);
    ASSERT_EQ(Read(bytes), LevelRead::kRead);
    EXPECT_EQ(board_.title, "");
    EXPECT_EQ(board_.w, 1) << lengthByte;
    EXPECT_EQ(CellCode(board_, 1, 0), 219);
  }
}

TEST_F(BoardFileTest, TruncatedFileReadsZerosUnscrambled) {
  LevelBytes level = FilledLevel(2, 2, 160);
  level.key[2] = 0x55;
  level.objectives[0] = 3;
  std::string bytes = level.Encode();
  // Cut after the first four Cells: the rest read as 0 and are then unmasked like any value.
  ASSERT_EQ(Read(bytes.substr(0, 19 + 8)), LevelRead::kRead);
  EXPECT_EQ(board_.w, 2);
  EXPECT_EQ(CellCode(board_, 0, 0), 160);
  EXPECT_EQ(CellCode(board_, 0, 1), 160);
  EXPECT_NE(CellCode(board_, 1, 1), 160);
  EXPECT_EQ(board_.shadePeriod, 0);
  EXPECT_EQ(board_.objectives[1], 0);
}

TEST_F(BoardFileTest, AMissingFileGivesTheOneCellBoardAndTheLargestBoardReads) {
  board_.title = "left over";
  EXPECT_EQ(ReadLevelFile(board_, dir_ + "/nothing", 1, 800, 600), LevelRead::kMissing);
  ExpectOneCellBoard();
  EXPECT_EQ(board_.shade, std::vector<int8_t>{0});  // the one Cell is revealed around itself

  // The largest Board allowed reads (sizes out of range: hostile_levels_test.cpp).
  LevelBytes big = FilledLevel(2047, 2047, 157);
  EXPECT_EQ(Read(big.Encode()), LevelRead::kRead);
  EXPECT_EQ(CellCode(board_, 2047, 2047), 157);
}

TEST_F(BoardFileTest, MasterRaisesTheFirstTwoObjectives) {
  struct Case {
    int reached;
    int8_t first, second;
    int8_t wantFirst, wantSecond;
  } cases[] = {
      {44, 3, 5, 3, 5},   {45, 3, 5, 4, 6},       {45, 0, 5, 0, 5},
      {45, -1, 5, -1, 5}, {200, 127, 9, 127, 10},
  };
  for (const Case& c : cases) {
    LevelBytes level = FilledLevel(0, 0, 218);
    level.objectives[0] = c.first;
    level.objectives[1] = c.second;
    level.objectives[2] = 7;
    ASSERT_EQ(Read(level.Encode(), c.reached), LevelRead::kRead);
    EXPECT_EQ(board_.objectives[1], c.wantFirst) << c.reached << " " << int{c.first};
    EXPECT_EQ(board_.objectives[2], c.wantSecond);
    EXPECT_EQ(board_.objectives[3], 7);
  }
}

TEST_F(BoardFileTest, LoadLevelReadsMapsThroughTheGameFolder) {
  fs::create_directories(dir_ + "/maps");
  LevelBytes level = FilledLevel(3, 2, 157);
  level.startColumn = 2;
  level.objectives[0] = 2;
  level.objectives[1] = 1;
  test::WriteBytes(dir_ + "/maps/7", level.Encode());
  MapGameFolder("maps", dir_ + "/maps");
  GameState game;
  game.program.screenWidth = 1920;
  game.program.screenHeight = 1080;
  game.players.levelsReached[0] = 45;
  LoadLevel(game, 7);
  MapGameFolder("maps", "");
  EXPECT_EQ(game.board.w, 3);
  EXPECT_EQ(game.board.cameraX, (1920 / 108 - 2) * 52);
  EXPECT_EQ(game.board.cameraY, (1080 / 90) * 45);
  EXPECT_EQ(game.board.objectives[1], 3);
  EXPECT_EQ(game.board.objectives[2], 2);
  EXPECT_EQ(FileAtEnd(0), 0);  // slot 0 is closed again
}

TEST(BoardCells, AccessOffTheBoardIsHarmless) {
  BoardState board;
  board.w = 2;
  board.h = 1;
  board.cells.assign(6, 157);
  board.shade.assign(6, 3);
  SetCellCode(board, 2, 1, 219);
  EXPECT_EQ(board.cells[2 * 2 + 1], 219);
  for (auto [c, r] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT32_MIN, INT32_MAX}}) {
    EXPECT_FALSE(IsOnBoard(board, c, r));
    EXPECT_EQ(CellCode(board, c, r), 0);
    EXPECT_EQ(ShadeOf(board, c, r), kHiddenShade);
    SetCellCode(board, c, r, 1);
  }
  EXPECT_EQ(ShadeOf(board, 1, 1), 3);
  BoardState empty;  // no cells at all
  EXPECT_EQ(CellCode(empty, 0, 0), 0);
}

}  // namespace
}  // namespace qm
