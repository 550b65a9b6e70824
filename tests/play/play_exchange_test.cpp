// The three exchange tokens, the marks on the Easel and the dialog's two buttons.
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

class PlayExchange : public PlayTest {
 protected:
  // Token k's hot spot and the dialog buttons on screen.
  int TokenX(int k) const { return game.easel.left + game.easel.slots[0] * 52 - 60 + 28 * k; }
  int TokenY() const { return game.easel.top - 10; }
  int ButtonY() const { return game.easel.top - 244; }

  void ClickAt(int x, int y) {
    MoveTo(x, y);
    Left(true);
    Pass();
    Left(false);
    Pass();
  }
};

TEST_F(PlayExchange, MarkedPiecesChangePlacesWithBagPieces) {
  ClickAt(TokenX(1), TokenY());
  EXPECT_EQ(game.play.exchange.activeToken, 2);
  EXPECT_EQ(game.play.exchange.spent[1], 1);
  int x = 0, y = 0;
  SlotCentre(2, x, y);
  ClickAt(x, y);
  SlotCentre(5, x, y);
  ClickAt(x, y);
  EXPECT_EQ(game.play.exchange.marks[2], 1);
  EXPECT_EQ(game.play.exchange.marks[5], 1);
  EXPECT_EQ(Slot(2), 2);  // marking picks nothing up
  EXPECT_EQ(TakeClickRate(), 20000);

  ClickAt(600, ButtonY());
  EXPECT_EQ(game.play.exchange.activeToken, 0);
  EXPECT_EQ(game.play.exchange.spent[1], 1);
  EXPECT_EQ(game.play.exchange.marks[2], 0);
  EXPECT_GT(Slot(2), 100);  // bag Pieces are 101..110
  EXPECT_GT(Slot(5), 100);
  EXPECT_EQ(Slot(3), 3);
  EXPECT_EQ(game.easel.bag[0], 10);
  int given = 0;
  for (int k = 1; k <= 10; ++k) given += game.easel.bag[k] == 2 || game.easel.bag[k] == 5;
  EXPECT_EQ(given, 2);
}

TEST_F(PlayExchange, ClickingAMarkedSlotAgainUnmarksIt) {
  ClickAt(TokenX(0), TokenY());
  int x = 0, y = 0;
  SlotCentre(3, x, y);
  ClickAt(x, y);
  ClickAt(x, y);
  EXPECT_EQ(game.play.exchange.marks[3], 0);
  game.easel.slots[4] = kEmptySlot;
  SlotCentre(4, x, y);
  ClickAt(x, y);
  EXPECT_EQ(game.play.exchange.marks[4], 0);  // an empty slot cannot be marked
}

TEST_F(PlayExchange, CancelGivesTheTokenBackAndClearsTheMarks) {
  ClickAt(TokenX(2), TokenY());
  int x = 0, y = 0;
  SlotCentre(1, x, y);
  ClickAt(x, y);
  ClickAt(400, ButtonY());
  EXPECT_EQ(game.play.exchange.activeToken, 0);
  EXPECT_EQ(game.play.exchange.spent[2], 0);
  EXPECT_EQ(game.play.exchange.marks[1], 0);
  EXPECT_EQ(Slot(1), 1);
}

TEST_F(PlayExchange, AnEmptyBagStillSpendsTheToken) {
  game.easel.bag.assign(1701, 0);
  ClickAt(TokenX(0), TokenY());
  int x = 0, y = 0;
  SlotCentre(1, x, y);
  ClickAt(x, y);
  ClickAt(600, ButtonY());
  EXPECT_EQ(Slot(1), 1);
  EXPECT_EQ(game.play.exchange.spent[0], 1);
  EXPECT_EQ(game.play.exchange.activeToken, 0);
}

TEST_F(PlayExchange, ATokenCannotBeTakenWhileCarrying) {
  MoveToSlot(1);
  Left(true);
  Pass();
  MoveTo(TokenX(0), TokenY());
  Pass();
  EXPECT_EQ(game.play.exchange.activeToken, 0);
  Left(false);
  Pass();
  EXPECT_EQ(Slot(1), 1);
}

}  // namespace
}  // namespace qm::test
