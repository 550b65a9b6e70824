// Gathering words along the three axes, the checks of a turn and its refusals.
#include <gtest/gtest.h>

#include "RulesFixture.hpp"
#include "game/rules/Validate.hpp"

namespace qm {
namespace {

using namespace test;  // the rules fixture

const std::vector<std::string> kWords = {"cat", "cats", "at", "ta", "hat", "to", "tag", "go"};

struct Cell {
  int column;
  int row;
  int16_t code;
};

struct MoveCase {
  const char* name;
  std::vector<Cell> board;  // special cells and Pieces of earlier turns
  std::vector<Cell> lay;    // this turn, in laying order
  bool accepted;
  std::string status;
  int64_t scoreGain;
};

// Board 8 x 6; rows 1, 3, 5 are shifted half a cell to the right.
const MoveCase kMoves[] = {
    {"cat on the start box and a word x2 is worth 10",
     {{2, 2, 218}, {3, 2, 193}},
     {{1, 2, P('c')}, {2, 2, P('a')}, {3, 2, P('t')}},
     true,
     " cat : 10 - TOTAL : 10 pts ",
     10},
    {"a letter x3 under a value 4 makes it count 12",
     {{1, 2, 187}, {2, 2, 218}},
     {{1, 2, P('h')}, {2, 2, P('a')}, {3, 2, P('t')}},
     true,
     " hat : 14 - TOTAL : 14 pts ",
     14},  // h counts 3 times: 12, plus a and t
    {"two word x2 cells in one word multiply by 4",
     {{1, 2, 193}, {2, 2, 218}, {3, 2, 193}},
     {{1, 2, P('c')}, {2, 2, P('a')}, {3, 2, P('t')}},
     true,
     " cat : 20 - TOTAL : 20 pts ",
     20},
    {"a multiplier next to the word, not covered, does nothing",
     {{1, 2, P('c')}, {4, 2, 193}},
     {{2, 2, P('a')}, {3, 2, P('t')}},
     true,
     " cat : 5 - TOTAL : 5 pts ",
     5},
    {"laid in another order, the word still reads left to right",
     {{2, 2, 218}},
     {{3, 2, P('t')}, {1, 2, P('c')}, {2, 2, P('a')}},
     true,
     " cat : 5 - TOTAL : 5 pts ",
     5},
    {"a gap in the row splits the word",
     {{1, 2, 218}},
     {{1, 2, P('a')}, {3, 2, P('t')}},
     false,
     " Error: Word split ",
     0},
    {"a gap is split even when both Pieces touch known words",
     {{1, 1, P('t')}, {3, 1, P('t')}, {2, 2, 218}},
     {{1, 2, P('a')}, {3, 2, P('a')}},
     false,
     " Error: Word split ",
     0},
    {"Pieces on two axes split",
     {{2, 2, 218}},
     {{2, 2, P('a')}, {2, 3, P('t')}, {3, 2, P('t')}},
     false,
     " Error: Word split ",
     0},
    {"an unknown main word is refused with its text",
     {{2, 2, 218}},
     {{2, 2, P('c')}, {3, 2, P('t')}},
     false,
     " Error : ct ",
     0},
    {"a single Piece on the start box is not attached",
     {{2, 2, 218}},
     {{2, 2, P('a')}},
     false,
     " Error: Username does not attached ",
     0},
    {"a known word away from the start box is not attached",
     {},
     {{1, 2, P('c')}, {2, 2, P('a')}, {3, 2, P('t')}},
     false,
     " Error: Username does not attached ",
     0},
    {"a single Piece completing a known word attaches",
     {{3, 2, P('a')}, {4, 2, P('t')}},
     {{2, 2, P('c')}},
     true,
     " cat : 5 - TOTAL : 5 pts ",
     5},
    {"an unknown cross word is ignored and does not attach",
     {{2, 2, P('q')}},
     {{2, 3, P('a')}, {3, 3, P('t')}},
     false,
     " Error: Username does not attached ",
     0},
    {"a known cross word attaches and scores",
     {{2, 2, P('t')}},
     {{2, 3, P('a')}, {3, 3, P('t')}},
     true,
     " ta : 2 - at : 2 - TOTAL : 4 pts ",
     4},
    {"a main word longer than the Pieces laid attaches by itself",
     {{1, 2, P('c')}, {2, 2, P('a')}},
     {{3, 2, P('t')}, {4, 2, P('s')}},
     true,
     " cats : 6 - TOTAL : 6 pts ",
     6},
    {"the rising diagonal reads from the lower Piece up",
     {{0, 1, 218}},
     {{0, 1, P('a')}, {1, 0, P('t')}},
     true,
     " at : 2 - TOTAL : 2 pts ",
     2},
    {"the falling diagonal reads from the upper Piece down",
     {{1, 0, 218}},
     {{1, 0, P('t')}, {1, 1, P('o')}},
     true,
     " to : 2 - TOTAL : 2 pts ",
     2},
    {"nothing laid leaves the validation text",
     {},
     {},
     false,
     " Validation (Ask your word and confirm it) ",
     0},
};

TEST(ValidateMove, Moves) {
  Dictionary dictionary(kWords);
  for (const MoveCase& c : kMoves) {
    SCOPED_TRACE(c.name);
    std::vector<int16_t> easel;
    for (const Cell& piece : c.lay) easel.push_back(piece.code);
    easel.push_back(P('e'));
    auto game = MakeGame(7, 5, easel);
    game->players.scores[0] = 1000;
    for (const Cell& cell : c.board) SetCellCode(game->board, cell.column, cell.row, cell.code);
    std::vector<int16_t> boardBefore = game->board.cells;
    auto slotsBefore = game->easel.slots;
    for (const Cell& piece : c.lay) Lay(*game, piece.column, piece.row, piece.code);
    ValidateMove(*game);
    EXPECT_EQ(game->move.accepted, c.accepted);
    EXPECT_EQ(game->status.text, c.status);
    EXPECT_EQ(game->players.scores[0], 1000 + c.scoreGain);
    EXPECT_EQ(LaidPieceCount(game->easel), 0);
    EXPECT_EQ(game->play.validationLatch, 1);
    if (!c.accepted) {
      // Everything as before the turn: the Pieces back on the Easel, the cells restored.
      EXPECT_EQ(game->board.cells, boardBefore);
      EXPECT_EQ(game->easel.slots, slotsBefore);
      EXPECT_EQ(game->chat.moveHistory[0].text, "");
    } else {
      for (const Cell& piece : c.lay)
        EXPECT_EQ(CellCode(game->board, piece.column, piece.row), piece.code);
      EXPECT_EQ(game->chat.moveHistory[0].text, c.status);
    }
  }
}

TEST(GatherWord, CountsNewPiecesMaterialAndFactors) {
  auto game = MakeGame(7, 5, {P('c', kSilver), P('t', kGold)});
  SetCellCode(game->board, 2, 2, P('a', kSilver));  // an earlier turn
  SetCellCode(game->board, 1, 2, 194);              // word x3
  SetCellCode(game->board, 3, 2, 188);              // letter x4
  Lay(*game, 1, 2, P('c', kSilver));
  Lay(*game, 3, 2, P('t', kGold));
  game->move.laidCount = 2;
  GatheredWord row = GatherWord(*game, kRow, 2, 2);
  EXPECT_EQ(row.text, "cat");
  EXPECT_EQ(row.newPieces, 2);
  EXPECT_EQ(row.material, kMixedMaterial);
  EXPECT_EQ(row.letterSum, 12 + 4 + 8 * 4);  // t counts four times
  EXPECT_EQ(row.wordFactor, 3);
  GatheredWord single = GatherWord(*game, kFallingDiagonal, 2, 2);
  EXPECT_EQ(single.text, "a");
  EXPECT_EQ(single.material, kSilver);
  EXPECT_EQ(single.newPieces, 0);
  EXPECT_FALSE(game->move.attached);
}

TEST(ValidateMove, StartBoxWithTwoPiecesAttachesWhateverTheCrossWords) {
  Dictionary dictionary(kWords);
  auto game = MakeGame(7, 5, {P('t'), P('o')});
  SetCellCode(game->board, 4, 0, 218);
  Lay(*game, 4, 0, P('t'));
  Lay(*game, 5, 0, P('o'));
  ValidateMove(*game);
  EXPECT_TRUE(game->move.accepted);
  EXPECT_EQ(game->move.mainAxis, kRow);
  ASSERT_EQ(game->move.found.size(), 1u);
  EXPECT_EQ(game->move.found[0].text, "to");
}

TEST(ValidateMove, MainWordOnTheEdgeOfTheBoard) {
  Dictionary dictionary(kWords);
  auto game = MakeGame(1, 0, {P('g'), P('o')});
  SetCellCode(game->board, 0, 0, 218);
  Lay(*game, 0, 0, P('g'));
  Lay(*game, 1, 0, P('o'));
  ValidateMove(*game);
  EXPECT_TRUE(game->move.accepted);
  EXPECT_EQ(game->status.text, " go : 3 - TOTAL : 3 pts ");
}

}  // namespace
}  // namespace qm
