// Keyboard play: the cell cursor on the hexagonal rows, typed letters laid from the Easel,
// Backspace, the typing direction, and the keys that stand for the mouse's actions.
#include "engine/Input.hpp"
#include "game/play/HintKey.hpp"
#include "game/play/KeyboardPlay.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/rules/Describe.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

constexpr int kKeyB = 48, kKeyZ = 44, kKeyD = 32, kKey1 = 2, kKey3 = 4;
constexpr int16_t kVoid = 0;

// ---- The cursor's moves, as a table ------------------------------------------------------

// A 6 x 5 Board of soil:       column 0 1 2 3 4 5
//   row 0                             . . . H H H     H hidden in the fog
//   row 1 (shifted half a Cell)       . . W . . .     W wall
//   row 2                             . V . H . .     V void (no Cell)
//   row 3 (shifted)                   . V . . . .
//   row 4                             . . . . . H
BoardState SmallBoard() {
  BoardState board;
  board.w = 5;
  board.h = 4;
  board.cells.assign(30, kSoil);
  board.shade.assign(30, 0);
  auto set = [&board](int c, int r, int16_t code) { SetCellCode(board, c, r, code); };
  auto hide = [&board](int c, int r) {
    board.shade[static_cast<size_t>(c * (board.h + 1) + r)] = kHiddenShade;
  };
  set(2, 1, kWall);
  set(1, 2, kVoid);
  set(1, 3, kVoid);
  hide(3, 0);
  hide(4, 0);
  hide(5, 0);
  hide(3, 2);
  hide(5, 4);
  return board;
}

struct MoveCase {
  const char* what;
  CellPos from;
  CursorMove move;
  CellPos to;
};

class CursorMoveTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(CursorMoveTest, MovesOnTheHexagonalRows) {
  const MoveCase& c = GetParam();
  const BoardState board = SmallBoard();
  const CellPos to = MoveCursor(board, c.from, c.move);
  EXPECT_EQ(to.column, c.to.column) << c.what;
  EXPECT_EQ(to.row, c.to.row) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CursorMoveTest,
    ::testing::Values(
        MoveCase{"right along the row", {0, 4}, CursorMove::kRight, {1, 4}},
        MoveCase{"left edge stays", {0, 3}, CursorMove::kLeft, {0, 3}},
        MoveCase{"right edge stays", {5, 1}, CursorMove::kRight, {5, 1}},
        MoveCase{"top edge stays", {1, 0}, CursorMove::kUp, {1, 0}},
        MoveCase{"bottom edge stays", {0, 4}, CursorMove::kDown, {0, 4}},
        MoveCase{"onto a wall", {1, 1}, CursorMove::kRight, {2, 1}},
        MoveCase{"off a wall", {2, 1}, CursorMove::kRight, {3, 1}},
        MoveCase{"over a hidden Cell", {2, 2}, CursorMove::kRight, {4, 2}},
        MoveCase{"hidden up to the edge: stays", {2, 0}, CursorMove::kRight, {2, 0}},
        MoveCase{"hidden at the edge: stays", {4, 4}, CursorMove::kRight, {4, 4}},
        MoveCase{"over two void Cells down", {1, 1}, CursorMove::kDown, {1, 4}},
        MoveCase{"over void Cells up", {1, 4}, CursorMove::kUp, {1, 1}},
        MoveCase{"over void to the left", {2, 3}, CursorMove::kLeft, {0, 3}},
        MoveCase{"up from an even row keeps the column", {4, 2}, CursorMove::kUp, {4, 1}},
        MoveCase{"up from an odd row keeps the column", {1, 1}, CursorMove::kUp, {1, 0}},
        MoveCase{"down from an odd row keeps the column", {0, 3}, CursorMove::kDown, {0, 4}},
        MoveCase{
            "up onto a hidden Cell goes on to the edge: stays", {3, 1}, CursorMove::kUp, {3, 1}}));

TEST(CursorGeometry, UpAndDownZigzagHalfACellAndUndoEachOther) {
  BoardState board;
  board.w = 9;
  board.h = 9;
  for (int row = 1; row <= 8; ++row) {
    const CellPos from{4, row};
    const CellPos up = CursorStep(CursorMove::kUp, from);
    const CellPos down = CursorStep(CursorMove::kDown, from);
    EXPECT_EQ(CursorStep(CursorMove::kDown, up), from);
    EXPECT_EQ(CursorStep(CursorMove::kUp, down), from);
    int x = 0, y = 0, ux = 0, uy = 0;
    CellToScreen(board, from.column, from.row, x, y);
    CellToScreen(board, up.column, up.row, ux, uy);
    // One of the two Cells above: half a Cell to the right from an even row, left from odd.
    EXPECT_EQ(ux - x, row % 2 == 0 ? kOddRowShift : -kOddRowShift) << "row " << row;
    EXPECT_EQ(y - uy, kCellPitchY);
    const auto n = Neighbours(from);
    EXPECT_TRUE(up == n[2] || up == n[3]) << "row " << row;
    EXPECT_TRUE(down == n[4] || down == n[5]) << "row " << row;
  }
}

TEST(CursorGeometry, TypingStepsOverPiecesAndStopsWhereTheCursorMayNotRest) {
  BoardState board = SmallBoard();
  SetCellCode(board, 1, 4, 5);  // a Piece of an earlier turn
  SetCellCode(board, 2, 4, 6);
  EXPECT_EQ(TypingStep(board, {0, 4}, kRow), (CellPos{3, 4}));
  EXPECT_EQ(TypingStep(board, {4, 4}, kRow), (CellPos{4, 4}));  // the hidden corner
  EXPECT_EQ(TypingStep(board, {5, 1}, kRow), (CellPos{5, 1}));  // the edge
  // The falling diagonal from an even row goes to the odd row's same column.
  EXPECT_EQ(TypingStep(board, {2, 2}, kFallingDiagonal), (CellPos{2, 3}));
  EXPECT_EQ(TypingStep(board, {2, 3}, kRisingDiagonal), (CellPos{2, 3}));  // (3, 2) is hidden
  EXPECT_EQ(TypingStep(board, {2, 4}, kRisingDiagonal), (CellPos{2, 3}));
}

TEST(CursorScrolling, TheBoardFollowsTheCursorWithinItsLimits) {
  BoardState board;
  board.w = 59;
  board.h = 59;
  board.cells.assign(3600, kSoil);
  board.shade.assign(3600, 0);
  board.cameraX = 0;
  board.cameraY = 0;
  struct Case {
    CellPos cell;
    bool moves;
  };
  for (const Case& c : {Case{{3, 3}, false}, Case{{25, 3}, true}, Case{{3, 20}, true},
                        Case{{59, 59}, true}, Case{{0, 0}, true}}) {
    KeepCellInView(board, c.cell, kWidth, kHeight);
    int x = 0, y = 0;
    CellToScreen(board, c.cell.column, c.cell.row, x, y);
    EXPECT_GE(x, 0) << c.cell.column << "," << c.cell.row;
    EXPECT_LE(x + 52, kWidth - 20);
    EXPECT_GE(y, 0);
    EXPECT_LE(y + 60, kHeight - 62);
    const BoardState before = board;
    ApplyCameraLimits(board, kWidth, kHeight);
    EXPECT_EQ(board.cameraX, before.cameraX) << "within the Camera limits";
    EXPECT_EQ(board.cameraY, before.cameraY);
    EXPECT_EQ(board.firstVisibleColumn, -((board.cameraX + 23) / kCellPitchX));
  }
}

// ---- Keys in the play loop ----------------------------------------------------------------

class KeyboardPlayTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    StartKeyboardView(game);
    Pass();
  }
  void TearDown() override {
    Keyboard() = KeyboardView{};
    for (int code :
         std::initializer_list<int>{kKeyB, kKeyZ, kKeyD, kKey1, kKey3, kKeyF3, kKeyF5, kKeyF6,
                                    kKeyF7, kKeyF8, kKeyF9, kKeyF10, kKeyPageDown, kKeyDown})
      InjectKey(code, false);
    PlayTest::TearDown();
  }
  // A key down in one pass and up in the next.
  void Tap(int code) {
    Key(code, true);
    Pass();
    Key(code, false);
    Pass();
  }
  // A key down and up between two passes: the snapshot never sees it down.
  void QuickTap(int code) {
    Key(code, true);
    Key(code, false);
    Pass();
  }
  CellPos Cursor() const { return Keyboard().cursor; }
};

TEST_F(KeyboardPlayTest, TheCursorStartsOnGoAndTypedLettersLayAlongTheRow) {
  EXPECT_EQ(Cursor(), (CellPos{6, 6}));
  EXPECT_TRUE(Keyboard().shown);
  TakeClickRate();
  Tap(kKeyC);
  EXPECT_EQ(TakeClickRate(), kClickDrop);  // as for a drop
  QuickTap(kKeyA);                         // not lost between two snapshots
  Tap(kKeyB);
  EXPECT_EQ(Cell(6, 6), 3);
  EXPECT_EQ(Cell(7, 6), 1);
  EXPECT_EQ(Cell(8, 6), 2);
  EXPECT_EQ(Slot(1), kEmptySlot);
  EXPECT_EQ(Slot(2), kEmptySlot);
  EXPECT_EQ(Slot(3), kEmptySlot);
  EXPECT_EQ(LaidPieceCount(game.easel), 3);
  EXPECT_EQ(game.easel.laid[1].under, 218);  // GO under the C, as a drop records it
  EXPECT_EQ(Cursor(), (CellPos{9, 6}));
  // Backspace takes back the last one and moves back onto its Cell.
  Tap(kKeyBackspace);
  EXPECT_EQ(TakeClickRate(), kClickTakeBack);
  EXPECT_EQ(Cell(8, 6), kSoil);
  EXPECT_EQ(Slot(1), 2);  // the lowest free slot, as a right click would
  EXPECT_EQ(Cursor(), (CellPos{8, 6}));
  Tap(kKeyBackspace);
  Tap(kKeyBackspace);
  EXPECT_EQ(Cursor(), (CellPos{6, 6}));
  EXPECT_EQ(Cell(6, 6), 218);
  EXPECT_EQ(LaidPieceCount(game.easel), 0);
  Tap(kKeyBackspace);  // nothing left: nothing happens
  EXPECT_EQ(Cursor(), (CellPos{6, 6}));
}

TEST_F(KeyboardPlayTest, RepeatedLettersAndMaterialsTakeTheFirstSlotOfTheLetter) {
  // Slots: bronze A, B, plastic A, gold A, then empties.
  game.easel.slots = {};
  game.easel.slots[0] = 7;
  const int16_t bronzeA = PieceCodeOf(0, kBronze), goldA = PieceCodeOf(0, kGold);
  game.easel.slots[1] = bronzeA;
  game.easel.slots[2] = 2;
  game.easel.slots[3] = 1;
  game.easel.slots[4] = goldA;
  for (int k = 5; k <= 7; ++k) game.easel.slots[k] = kEmptySlot;
  Tap(kKeyA);
  Tap(kKeyA);
  Tap(kKeyA);
  EXPECT_EQ(Cell(6, 6), bronzeA);
  EXPECT_EQ(Cell(7, 6), 1);
  EXPECT_EQ(Cell(8, 6), goldA);
  Tap(kKeyA);  // no A left
  EXPECT_EQ(game.status.text, " No A on your Easel ");
  EXPECT_EQ(Cell(9, 6), kSoil);
  EXPECT_EQ(Cursor(), (CellPos{9, 6}));
  EXPECT_EQ(Slot(2), 2);
}

TEST_F(KeyboardPlayTest, AnEmptyEaselLaysNothingAndAFullOneLaysItsFirstSlot) {
  for (int k = 1; k <= 7; ++k) game.easel.slots[k] = kEmptySlot;
  Tap(kKeyC);
  EXPECT_EQ(game.status.text, " No C on your Easel ");
  EXPECT_EQ(Cell(6, 6), 218);
  EXPECT_EQ(Cursor(), (CellPos{6, 6}));

  game.easel.slots[0] = 20;  // the largest Easel, every slot a Z but the last a C
  for (int k = 1; k <= 20; ++k) game.easel.slots[k] = 26;
  game.easel.slots[20] = 3;
  LayOutEasel(game.easel, kHeight);
  Tap(kKeyC);
  Tap(kKeyZ);
  EXPECT_EQ(Cell(6, 6), 3);
  EXPECT_EQ(Cell(7, 6), 26);
  EXPECT_EQ(Slot(20), kEmptySlot);
  EXPECT_EQ(Slot(1), kEmptySlot);
  EXPECT_EQ(Slot(2), 26);
}

TEST_F(KeyboardPlayTest, TypingGoesOverPiecesAndACellThatTakesNoneIsDescribed) {
  SetCellCode(game.board, 7, 6, 5);  // an E of an earlier turn
  Tap(kKeyA);
  EXPECT_EQ(Cursor(), (CellPos{8, 6}));  // over the E
  SetCellCode(game.board, 8, 6, kWall);
  Tap(kKeyB);
  EXPECT_EQ(Cell(8, 6), kWall);
  EXPECT_EQ(Slot(2), 2);
  EXPECT_EQ(game.status.requestCode, kWall);
  Pass();
  EXPECT_EQ(game.status.text, DescriptionOf(game, kWall));
  // The cursor on the E: the letter goes on over it.
  Keyboard().cursor = {7, 6};
  SetCellCode(game.board, 8, 6, kSoil);
  Tap(kKeyB);
  EXPECT_EQ(Cell(8, 6), 2);
  EXPECT_EQ(Cell(7, 6), 5);
}

TEST_F(KeyboardPlayTest, F3TurnsTheTypingDirectionAmongTheThreeAxes) {
  EXPECT_EQ(Keyboard().axis, kRow);
  Tap(kKeyF3);
  EXPECT_EQ(Keyboard().axis, kFallingDiagonal);
  Tap(kKeyC);
  Tap(kKeyA);
  EXPECT_EQ(Cell(6, 6), 3);
  EXPECT_EQ(Cell(6, 7), 1);  // row 7 is shifted: the same column is down and to the right
  EXPECT_EQ(Cursor(), (CellPos{7, 8}));
  Tap(kKeyF3);
  EXPECT_EQ(Keyboard().axis, kRisingDiagonal);
  Tap(kKeyF3);
  EXPECT_EQ(Keyboard().axis, kRow);
}

TEST_F(KeyboardPlayTest, ArrowsMoveTheCursorAndTheChatKeepsItsKeys) {
  Tap(kKeyRight);
  Tap(kKeyDown);
  EXPECT_EQ(Cursor(), (CellPos{7, 7}));
  Tap(kKeyUp);
  Tap(kKeyLeft);
  EXPECT_EQ(Cursor(), (CellPos{6, 6}));
  // Chat open: the arrows and letters are the chat line's.
  Tap(kKeyReturn);
  ASSERT_EQ(game.play.chatOpen, 1);
  Key(kKeyC, true);
  Pass();
  Key(kKeyC, false);
  InjectText("c");
  Pass();
  Tap(kKeyRight);
  Tap(kKeyBackspace);
  EXPECT_EQ(Cursor(), (CellPos{6, 6}));
  EXPECT_EQ(Cell(6, 6), 218);
  EXPECT_EQ(Slot(3), 3);
  Tap(kKeyReturn);
  EXPECT_EQ(game.play.chatOpen, 0);
}

TEST_F(KeyboardPlayTest, TheMouseHidesTheCursorAndAKeyShowsItAgain) {
  ClearFrame(0);
  Pass();
  int x = 0, y = 0;
  CellToScreen(game.board, 6, 6, x, y);
  EXPECT_EQ(ReadBackPixel(x + 1, y + 30), 0xFFFFFFu);  // the outline's light core
  MoveTo(5, 300);
  Pass();
  EXPECT_FALSE(Keyboard().shown);
  EXPECT_NE(ReadBackPixel(x + 1, y + 30), 0xFFFFFFu);
  Tap(kKeyRight);
  EXPECT_TRUE(Keyboard().shown);
  EXPECT_EQ(Cursor(), (CellPos{7, 6}));
  CellToScreen(game.board, 7, 6, x, y);
  EXPECT_EQ(ReadBackPixel(x + 1, y + 30), 0xFFFFFFu);
}

TEST_F(KeyboardPlayTest, LettersWaitWhileAnExchangeIsOpenOrTheLevelIsOver) {
  game.play.endTick = 1;
  Tap(kKeyC);
  EXPECT_EQ(Cell(6, 6), 218);
  game.play.endTick = 0;
  game.play.exchange.activeToken = 1;
  Tap(kKeyC);
  EXPECT_EQ(Cell(6, 6), 218);
}

TEST_F(KeyboardPlayTest, TheExchangeFromTheKeyboard) {
  Tap(kKeyF5);
  EXPECT_EQ(game.play.exchange.activeToken, 1);
  EXPECT_EQ(game.play.exchange.spent[0], 1);
  Tap(kKey1);
  Tap(kKey3);
  Tap(kKey3);  // marked, then not
  Tap(kKey3);
  EXPECT_EQ(game.play.exchange.marks[1], 1);
  EXPECT_EQ(game.play.exchange.marks[3], 1);
  EXPECT_EQ(game.play.exchange.marks[2], 0);
  Tap(kKeyF5);  // the exchange button
  EXPECT_EQ(game.play.exchange.activeToken, 0);
  EXPECT_GT(Slot(1), 100);  // bag Pieces are 101..110
  EXPECT_GT(Slot(3), 100);
  EXPECT_EQ(Slot(2), 2);
  Tap(kKeyF5);  // the second token, then cancel: it may be used again
  EXPECT_EQ(game.play.exchange.activeToken, 2);
  Tap(kKeyF6);
  EXPECT_EQ(game.play.exchange.activeToken, 0);
  EXPECT_EQ(game.play.exchange.spent[1], 0);
}

TEST_F(KeyboardPlayTest, OptionEntriesByKey) {
  // F7: the Easel order (the Pieces panel's second entry), by code then by value.
  std::swap(game.easel.slots[1], game.easel.slots[7]);
  Tap(kKeyF7);
  EXPECT_EQ(game.status.text, " Piece arrangement #1");
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(Slot(k), k);
  EXPECT_EQ(game.options.arrangement, 1);
  // F8: the objectives view.
  Tap(kKeyF8);
  EXPECT_EQ(game.play.objectivesViewToggle, 1);
  EXPECT_EQ(game.status.text, " Your objective ");
  // Page Down lights the first entry (the objectives view) and F9 uses it.
  Tap(kKeyPageDown);
  EXPECT_EQ(Keyboard().panelEntry, 0);
  Tap(kKeyF9);
  EXPECT_EQ(game.play.objectivesViewToggle, 0);
  // Page Up from the first wraps to the volume strip: each use is 10 % louder, 100 wraps.
  Tap(kKeyPageUp);
  game.options.musicVolume = 50;
  Tap(kKeyF9);
  EXPECT_EQ(game.options.musicVolume, 60);
  game.options.musicVolume = 100;
  Tap(kKeyF9);
  EXPECT_EQ(game.options.musicVolume, 10);
  // Down to the Pieces panel's "Get back all your piece" (entry 10) and the validation button.
  Tap(kKeyC);
  ASSERT_EQ(LaidPieceCount(game.easel), 1);
  for (int i = 0; i < 11; ++i) Tap(kKeyPageDown);
  EXPECT_EQ(Keyboard().panelEntry, 10);
  Tap(kKeyF9);
  EXPECT_EQ(LaidPieceCount(game.easel), 0);
  EXPECT_EQ(game.status.text, " Get back all your piece ");
}

TEST_F(KeyboardPlayTest, F10LeavesAsTheExitControlDoes) {
  Key(kKeyF10, true);
  std::optional<Screen> next = Pass();
  Key(kKeyF10, false);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(*next, Screen::kExitToPlayerMenu);
}

TEST_F(KeyboardPlayTest, AnyMashOfKeysKeepsEveryPieceAndTheCursorOnTheBoard) {
  // Walls, fog and void about, a Piece of an earlier turn, the Board scrolled.
  SetCellCode(game.board, 5, 6, kWall);
  SetCellCode(game.board, 6, 5, kVoid);
  SetCellCode(game.board, 7, 7, 9);
  game.board.shade[static_cast<size_t>(8 * 12 + 6)] = kHiddenShade;
  auto pieces = [this] {
    int count = game.easel.bag[0];
    for (int k = 1; k <= game.easel.slots[0]; ++k) count += HoldsPiece(Slot(k));
    for (int16_t code : game.board.cells) count += HoldsPiece(code);
    return count;
  };
  const int total = pieces();
  const int keys[] = {kKeyA,     kKeyB,    kKeyC,     kKeyZ,         kKeyLeft,     kKeyRight,
                      kKeyUp,    kKeyDown, kKeyF3,    kKeyBackspace, kKeyEscape,   kKeyF5,
                      kKeyF6,    kKey1,    kKey3,     kKeyF7,        kKeyPageDown, kKeyF9,
                      kKeySpace, kKeyF1,   kKeyReturn};
  uint32_t seed = 12345;
  int passesWithLaid = 0, exchanges = 0;
  for (int i = 0; i < 600; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int key = keys[(seed >> 16) % (sizeof(keys) / sizeof(keys[0]))];
    Key(key, true);
    if ((seed & 3) != 0) Pass();  // some keys tapped between two snapshots
    Key(key, false);
    ASSERT_FALSE(Pass().has_value()) << "pass " << i;
    ASSERT_EQ(pieces(), total) << "pass " << i;
    ASSERT_TRUE(CursorMayRest(game.board, Cursor())) << "pass " << i;
    passesWithLaid += LaidPieceCount(game.easel) > 0;
    exchanges += game.play.exchange.activeToken != 0;
  }
  EXPECT_GT(passesWithLaid, 20);  // the mash did lay Pieces and open exchanges
  EXPECT_GT(exchanges, 5);
}

TEST_F(KeyboardPlayTest, GameKeysTappedBetweenTwoSnapshotsStillActOnce) {
  QuickTap(kKeyC);
  ASSERT_EQ(LaidPieceCount(game.easel), 1);
  game.move.laidCount = -1;
  QuickTap(kKeySpace);  // validates, though no snapshot saw Space down
  EXPECT_EQ(game.move.laidCount, 1);
  game.move.laidCount = -1;
  Pass();
  EXPECT_EQ(game.move.laidCount, -1);  // once
  if (LaidPieceCount(game.easel) == 0) QuickTap(kKeyC);
  QuickTap(kKeyEscape);
  EXPECT_EQ(LaidPieceCount(game.easel), 0);
  EXPECT_EQ(game.status.text, " Put all your parts ");
  QuickTap(kKeyReturn);
  EXPECT_EQ(game.play.chatOpen, 1);
  Pass();
  EXPECT_EQ(game.play.chatOpen, 1);
  QuickTap(kKeyReturn);
  EXPECT_EQ(game.play.chatOpen, 0);
}

TEST_F(KeyboardPlayTest, F12ListsTheKeysOnTheChatLog) {
  Tap(kKeyF12);
  EXPECT_EQ(game.chat.chatLog[0].text.rfind("F10 saves", 0), 0u) << game.chat.chatLog[0].text;
  EXPECT_EQ(game.chat.chatLog[4].text.rfind("Keys: arrows", 0), 0u);
}

}  // namespace
}  // namespace qm::test
