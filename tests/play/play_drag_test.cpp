// Picking up, laying, swapping, sending back and taking back Pieces with the mouse.
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

using PlayDrag = PlayTest;

TEST_F(PlayDrag, PiecePickedFromTheEaselIsLaidOnSoil) {
  MoveToSlot(1);
  Left(true);
  Pass();
  EXPECT_EQ(game.play.dragState, 1);
  EXPECT_EQ(game.play.carriedCode, 1);
  EXPECT_EQ(Slot(1), kEmptySlot);
  EXPECT_EQ(TakeClickRate(), 20000);

  MoveToCell(3, 3);
  Pass();
  Left(false);
  Pass();
  EXPECT_EQ(game.play.dragState, 0);
  EXPECT_EQ(Cell(3, 3), 1);
  EXPECT_EQ(game.easel.laid[1].column, 3);
  EXPECT_EQ(game.easel.laid[1].row, 3);
  EXPECT_EQ(game.easel.laid[1].under, kSoil);
  EXPECT_EQ(TakeClickRate(), 16000);
}

TEST_F(PlayDrag, PressOnAnEmptySlotStartsNoDragButGrabs) {
  game.easel.slots[2] = kEmptySlot;
  MoveToSlot(2);
  Left(true);
  Pass();
  EXPECT_EQ(game.play.dragState, 2);
  EXPECT_EQ(game.render.cursorState, 1);
  EXPECT_EQ(TakeClickRate(), 0);
  Left(false);
  Pass();
  EXPECT_EQ(game.play.dragState, 0);
  EXPECT_EQ(game.render.cursorState, 0);
  EXPECT_EQ(TakeClickRate(), 0);
}

TEST_F(PlayDrag, PieceDroppedOnAPieceOfThisTurnChangesPlaceWithIt) {
  MoveToSlot(1);
  DragTo(0, 0);  // nowhere useful: back to slot 1
  EXPECT_EQ(Slot(1), 1);
  MoveToSlot(1);
  int x = 0, y = 0;
  CellCentre(4, 4, x, y);
  DragTo(x, y);
  ASSERT_EQ(Cell(4, 4), 1);
  MoveToSlot(2);
  DragTo(x, y);
  EXPECT_EQ(Cell(4, 4), 2);  // B lies there now
  EXPECT_EQ(Slot(2), 1);     // A went back to B's slot
  EXPECT_EQ(game.easel.laid[1].under, kSoil);
  EXPECT_EQ(game.easel.laid[2].column, -1);
}

TEST_F(PlayDrag, PieceDroppedOnAnEaselPieceChangesPlaceWithIt) {
  MoveToSlot(1);
  int x = 0, y = 0;
  SlotCentre(3, x, y);
  DragTo(x, y);
  EXPECT_EQ(Slot(3), 1);
  EXPECT_EQ(Slot(1), 3);
}

TEST_F(PlayDrag, PieceDroppedWhereNothingTakesItGoesBack) {
  SetCellCode(game.board, 2, 2, kWall);
  struct Case {
    const char* where;
    int x, y;
  } cases[] = {{"a wall", -1, -1}, {"off the Board", 900, 40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    int x = c.x, y = c.y;
    if (x < 0) CellCentre(2, 2, x, y);
    MoveToSlot(5);
    DragTo(x, y);
    EXPECT_EQ(Slot(5), 5);
    EXPECT_EQ(Cell(2, 2), kWall);
    EXPECT_EQ(game.easel.laid[1].column, -1);
  }
}

TEST_F(PlayDrag, LaidPieceCarriedOffTheBoardReturnsToItsCell) {
  MoveToSlot(1);
  int x = 0, y = 0;
  CellCentre(5, 5, x, y);
  DragTo(x, y);
  ASSERT_EQ(Cell(5, 5), 1);
  MoveTo(x, y);
  Left(true);
  Pass();
  EXPECT_EQ(game.play.dragState, 1);
  EXPECT_EQ(Cell(5, 5), kSoil);
  EXPECT_EQ(game.status.requestCode, 1);  // the press also describes the Piece
  MoveTo(900, 40);
  Pass();
  Left(false);
  Pass();
  EXPECT_EQ(Cell(5, 5), 1);
  EXPECT_EQ(LaidPieceCount(game.easel), 1);
  EXPECT_EQ(Slot(1), kEmptySlot);
}

TEST_F(PlayDrag, RightPressTakesBackOnlyPiecesOfThisTurn) {
  MoveToSlot(3);
  int x = 0, y = 0;
  CellCentre(3, 8, x, y);
  DragTo(x, y);
  SetCellCode(game.board, 4, 8, 20);  // a Piece laid in an earlier turn
  TakeClickRate();

  MoveToCell(4, 8);
  Right(true);
  Pass();
  Right(false);
  Pass();
  EXPECT_EQ(Cell(4, 8), 20);
  EXPECT_EQ(TakeClickRate(), 0);

  MoveToCell(3, 8);
  Right(true);
  Pass();
  EXPECT_EQ(Cell(3, 8), kSoil);
  EXPECT_EQ(Slot(3), 3);  // the lowest free slot
  EXPECT_EQ(game.easel.laid[1].column, -1);
  EXPECT_EQ(TakeClickRate(), 12000);
  Pass();  // held: no second take-back, no second click
  EXPECT_EQ(TakeClickRate(), 0);
}

TEST_F(PlayDrag, TakenBackPiecesFillTheLowestFreeSlots) {
  for (int slot : {7, 2, 5}) {
    MoveToSlot(slot);
    int x = 0, y = 0;
    CellCentre(slot, 2, x, y);
    DragTo(x, y);
  }
  ASSERT_EQ(LaidPieceCount(game.easel), 3);
  MoveToCell(7, 2);  // entry 1 (from slot 7) first
  Right(true);
  Pass();
  Right(false);
  Pass();
  EXPECT_EQ(Slot(2), 7);
}

TEST_F(PlayDrag, NoPickUpWhileAnExchangeIsActiveOrTheLevelHasEnded) {
  game.play.exchange.activeToken = 1;
  MoveToSlot(1);
  Left(true);
  Pass();
  EXPECT_EQ(Slot(1), 1);
  Left(false);
  Pass();
  game.play.exchange.activeToken = 0;
  game.play.endTick = TickCount();
  Left(true);
  Pass();
  EXPECT_EQ(Slot(1), 1);
  EXPECT_EQ(game.play.dragState, 0);
}

// ---- Scrolling -------------------------------------------------------------------------

TEST_F(PlayDrag, ScrollStepsOfSixteenPixelsOrMoreCountTwice) {
  MakeBoard(60, 60);
  struct Case {
    int dx, dy, cameraDx, cameraDy;
  } cases[] = {{15, 0, 15, 0}, {16, 0, 32, 0}, {-16, 15, -32, 15}, {0, -16, 0, -32}};
  MoveTo(500, 400);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
    game.board.cameraX = -1000;
    game.board.cameraY = -1000;
    Right(true);
    Pass();
    const int x0 = game.board.cameraX, y0 = game.board.cameraY;
    MoveTo(500 + c.dx, 400 + c.dy);
    Pass();
    EXPECT_EQ(game.board.cameraX - x0, c.cameraDx);
    EXPECT_EQ(game.board.cameraY - y0, c.cameraDy);
    Right(false);
    MoveTo(500, 400);
    Pass();
  }
}

TEST_F(PlayDrag, ScrollingKeepsTheCameraWithinItsLimits) {
  MakeBoard(20, 20);
  // Lower limits -(W - 6) x 52 and -(H - 5) x 45; upper limits the screen size / 1.5.
  struct Case {
    int startX, startY, dx, dy, cameraX, cameraY;
  } cases[] = {{600, 0, 100, 0, 683, 0},
               {0, 450, 0, 100, 0, 512},
               {-600, 0, -100, 0, -676, 0},
               {0, -600, 0, -100, 0, -630}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cameraX) + "," + std::to_string(c.cameraY));
    MoveTo(500, 400);
    Pass();
    game.board.cameraX = c.startX;
    game.board.cameraY = c.startY;
    Right(true);
    Pass();
    MoveTo(500 + c.dx, 400 + c.dy);
    Pass();
    EXPECT_EQ(game.board.cameraX, c.cameraX);
    EXPECT_EQ(game.board.cameraY, c.cameraY);
    EXPECT_EQ(game.board.firstVisibleColumn, -((c.cameraX + 23) / 52));
    EXPECT_EQ(game.board.firstVisibleRow, -((c.cameraY + 10) / 45));
    Right(false);
    Pass();
  }
}

}  // namespace
}  // namespace qm::test
