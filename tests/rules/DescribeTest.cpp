// Cell and Piece descriptions and how long the StatusLine shows a text.
#include <gtest/gtest.h>

#include "RulesFixture.hpp"
#include "engine/Clock.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Describe.hpp"

namespace qm {
namespace {

using test::P;

TEST(DescriptionOf, EveryKindOfCode) {
  GameState game;
  BuildPieceTables(game.easel);
  struct Case {
    int code;
    int8_t bonus;
    std::string text;
  };
  const Case cases[] = {
      {-1, 0, " The soil "},
      {0, 0, " Interstellar space "},
      {222, 0, " Interstellar space "},
      {P('a'), 0, " Parts 'A' of plastic : 1 point "},
      {P('e', kDiamond), 0, " Parts 'E' of diamond : 90 points "},
      {P('a', kBronze), 0, " Parts 'A' of bronze : 2 points "},
      {P('q', kGold), 0, " Parts 'Q' of gold : 80 points "},
      {P('z', kSilver), 0, " Parts 'Z' of silver : 40 points "},
      {131, 0, " A wall "},
      {144, 0, " A wall "},
      {145, 0, " A locked wall "},
      {147, 0, " A locked wall "},
      {186, 0, " Letter x2 "},
      {190, 0, " Letter x6 "},
      {192, 0, " Letter x8 "},
      {193, 0, " Word x2 "},
      {199, 0, " Word x8 "},
      {200, 0, " Increases of 2% points"},
      {202, 0, " Increases of 6% points"},
      {203, 0, " Increases of 5% points"},
      {205, 0, " Increases of 15% points"},
      {206, 0, " Reduces your score by 5% "},
      {207, 5, " Reduces your score by 15% "},
      {209, 0, " A... wall ? "},
      {211, 0, " A... wall ? "},
      {212, 0, " Mechanism of bronze : you have 20% chance of lowering each wall around "},
      {213, 5, " Mechanism of silver : you have 50% chance of lowering each wall around "},
      {214, 0, " Mechanism of gold : you have 60% chance of lowering each wall around "},
      {214, 10, " Mechanism of gold : you have 80% chance of lowering each wall around "},
      {215, 0, " Adds a parts bag which 20% will be valuable parts "},
      {217, 0, " Adds a parts bag which 60% will be valuable parts "},
      {218, 0, " The box where it all begins "},
      {219, 0, " End of the Game "},
      {220, 0, " Bonus/Malus : you add or remove a piece you "},
      {221, 0, " Bonus : +100 points "},
      {225, 0, " Stars ?!?? "},
      {227, 0, " Stars ?!?? "},
      {232, 0, " A magic compartment "},
      {234, 0, " A magic compartment "},
      {235, 0, " A gold key "},
      {236, 0, " A silver key "},
      {237, 0, " A bronze key "},
  };
  for (const Case& c : cases) {
    game.players.effectBonus[0] = c.bonus;
    EXPECT_EQ(DescriptionOf(game, c.code), c.text) << c.code;
  }
  for (int code : {148, 156, 157, 161, 185, 223, 224, 228, 231, 238, 240, 160, -2, 9999}) {
    EXPECT_EQ(DescriptionOf(game, code), " The soil ") << code;
  }
}

class StatusLineTest : public testing::Test {
 protected:
  void SetUp() override { UseVirtualClock(true, 100000, 16); }
  void TearDown() override { UseVirtualClock(false); }
  // Moves the clock to a tick without counting the reads made on the way.
  static void ClockAt(uint32_t tick) { UseVirtualClock(true, tick, 16); }
};

TEST_F(StatusLineTest, ATextStaysItsLengthTimesATenthOfASecondPlusFive) {
  GameState game;
  std::string thirty(30, 'x');
  EXPECT_EQ(StatusLineDuration(thirty), 8000);
  ShowStatusLine(game, thirty);
  EXPECT_EQ(game.status.start, 100000u);
  ClockAt(107999);
  DescribeCell(game);
  EXPECT_EQ(game.status.start, 100000u);
  ClockAt(108000);
  DescribeCell(game);
  EXPECT_EQ(game.status.start, 0u);
  DescribeCell(game);  // off: nothing happens
  EXPECT_EQ(game.status.start, 0u);
  EXPECT_EQ(game.status.text, thirty);
}

TEST_F(StatusLineTest, ARequestBuildsTheTextAndCopiesItToTheChat) {
  GameState game;
  BuildPieceTables(game.easel);
  game.chat.chatLog[0].text = "older";
  game.status.start = 1;
  game.status.requestCode = 190;
  ClockAt(200000);
  DescribeCell(game);
  EXPECT_EQ(game.status.text, " Letter x6 ");
  EXPECT_EQ(game.status.start, 200000u);
  EXPECT_EQ(game.chat.chatLog[0].text, " Letter x6 ");
  EXPECT_GE(game.chat.chatLog[0].speaker, 1);
  EXPECT_LE(game.chat.chatLog[0].speaker, 7);
  EXPECT_EQ(game.chat.chatLog[0].time, 200000);
  EXPECT_EQ(game.chat.chatLog[1].text, "older");

  game.status.start = 1;
  game.status.requestCode = -1;  // hidden in the fog
  DescribeCell(game);
  EXPECT_EQ(game.status.text, " The soil ");
}

TEST_F(StatusLineTest, AStartAheadOfNowKeepsTheTextShown) {
  GameState game;
  ClockAt(50000);
  game.status.text = " Press ESC to continue ";
  game.status.start = 50000 + 100000;
  ClockAt(60000);
  DescribeCell(game);
  EXPECT_NE(game.status.start, 0u);
  // A start set back in time shows for what is left of the text's time.
  std::string exitText = " EXIT: Click left mouse + right click ";
  game.status.text = exitText;
  game.status.start = static_cast<uint32_t>(60000 - exitText.size() * 100 - 4700);
  DescribeCell(game);
  EXPECT_NE(game.status.start, 0u);
  ClockAt(60300);
  DescribeCell(game);
  EXPECT_EQ(game.status.start, 0u);
}

}  // namespace
}  // namespace qm
