// The result panel's verdicts, the level that follows, and the ways out of the loop.
#include "game/play/EndOfLevel.hpp"
#include "game/play/PlayInput.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

class PlayEnd : public PlayTest {
 protected:
  // The level ended with the end box covered; `won` leaves a word objective unmet otherwise.
  void EndLevel(bool won) {
    game.board.objectives.fill(0);
    if (!won) {
      game.board.objectives[1] = 2;
      game.board.objectives[2] = 4;
    }
    game.play.endTick = TickCount();
  }
  // Passes until the result panel is composed (a little over one second).
  void WaitForPanel() {
    AdvanceVirtualClock(990);
    for (int i = 0; i < 100 && game.easel.referenceSlotCount >= 0; ++i) ASSERT_FALSE(Pass());
    ASSERT_EQ(game.easel.referenceSlotCount, -1);
  }
};

TEST(Progression, WonLevelsAdvanceAndFortyFourWrapsToOne) {
  EXPECT_EQ(NextLevelNumber(1, true), 2);
  EXPECT_EQ(NextLevelNumber(43, true), 44);
  EXPECT_EQ(NextLevelNumber(44, true), 1);
  EXPECT_EQ(NextLevelNumber(44, false), 44);
  EXPECT_EQ(NextLevelNumber(7, false), 7);
}

TEST_F(PlayEnd, NothingHappensDuringTheFirstSecond) {
  EndLevel(true);
  for (int i = 0; i < 20; ++i) {
    if (TickCount() - game.play.endTick > 1000) break;
    ASSERT_FALSE(Pass());
    EXPECT_EQ(game.easel.referenceSlotCount, 7);
    AdvanceVirtualClock(100);
  }
}

TEST_F(PlayEnd, EscapeBeforeThePanelOnlyTakesBackPieces) {
  EndLevel(true);
  Key(kKeyEscape, true);
  Pass();
  EXPECT_EQ(game.status.text, " Put all your parts ");
  EXPECT_EQ(game.menu.currentLevel, 3);
}

TEST_F(PlayEnd, VerdictsAndTheLevelThatFollows) {
  struct Case {
    const char* name;
    bool won;
    int level, reached;
    const char* verdict;
    int reachedAfter, nextLevel;
  } cases[] = {
      {"won at the level reached", true, 3, 3, "Lv.+1", 4, 4},
      {"won below the level reached", true, 2, 3, "Good", 3, 3},
      {"lost", false, 3, 3, "Echec", 3, 3},
      {"won level 44 at 44", true, 44, 44, "Lv.+1", 45, 1},
      {"won level 44 as a Master", true, 44, 45, "Good", 45, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    game.menu.currentLevel = c.level;
    game.players.levelsReached[0] = static_cast<uint8_t>(c.reached);
    game.easel.slots[0] = 9;
    game.easel.referenceSlotCount = 8;
    EndLevel(c.won);
    WaitForPanel();
    EXPECT_EQ(game.play.lastVerdict, c.verdict);
    EXPECT_EQ(game.players.levelsReached[0], c.reachedAfter);
    EXPECT_EQ(game.easel.carriedSlotCount, 8);  // the reference count goes to the next level
    Pass();
    EXPECT_EQ(game.status.text, " Press ESC to continue ");
    Key(kKeyEscape, true);
    std::optional<Screen> next = Pass();
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(*next, Screen::kStartLevel);
    EXPECT_EQ(game.menu.currentLevel, c.nextLevel);
    Key(kKeyEscape, false);
    TearDown();
  }
}

TEST_F(PlayEnd, ThePanelComposedAgainAfterRefocusDoesNotRaiseTwice) {
  game.players.levelsReached[0] = 3;
  EndLevel(true);
  WaitForPanel();
  EXPECT_EQ(game.play.lastVerdict, "Lv.+1");
  EXPECT_EQ(game.players.levelsReached[0], 4);
  game.easel.carriedSlotCount = 11;

  // The window goes away and comes back 50 ms later.
  InjectFocus(false);
  SetVirtualClockListener([start = TickCount(), done = false](uint32_t tick) mutable {
    if (!done && tick >= start + 50) {
      InjectFocus(true);
      done = true;
    }
  });
  Pass();
  SetVirtualClockListener(nullptr);
  EXPECT_TRUE(game.play.recomposeResultPanel);
  Pass();
  EXPECT_EQ(game.play.lastVerdict, "Good");
  EXPECT_EQ(game.players.levelsReached[0], 4);
  EXPECT_EQ(game.easel.carriedSlotCount, 11);
  EXPECT_FALSE(game.play.recomposeResultPanel);
}

TEST_F(PlayEnd, TheInactiveWindowWaitKeepsButtonReleases) {
  MoveToSlot(1);
  Left(true);
  Pass();
  ASSERT_EQ(game.program.leftHeld, 1);
  // The window goes away; while away the button is released; the window comes back later.
  InjectFocus(false);
  SetVirtualClockListener([start = TickCount(), step = 0](uint32_t tick) mutable {
    if (step == 0 && tick >= start + 20) {
      InjectMouseButton(MouseButton::kLeft, false);
      step = 1;
    } else if (step == 1 && tick >= start + 60) {
      InjectFocus(true);
      step = 2;
    }
  });
  Pass();
  SetVirtualClockListener(nullptr);
  EXPECT_EQ(game.program.leftHeld, 0);
  Pass();
  EXPECT_EQ(game.play.dragState, 0);
  EXPECT_EQ(Slot(1), 1);
}

TEST_F(PlayEnd, ExitControlNeedsBothButtonsOnTheSquare) {
  MoveTo(kWidth - 5, 5);
  Left(true);
  Pass();
  EXPECT_EQ(game.status.text, " EXIT: Click left mouse + right click ");
  MoveTo(kWidth - 20, 5);  // beside the square
  Right(true);
  EXPECT_FALSE(Pass().has_value());
  MoveTo(kWidth - 5, 5);
  std::optional<Screen> next = Pass();
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(*next, Screen::kExitToPlayerMenu);
}

TEST_F(PlayEnd, LeftAltWithF4EndsTheProgram) {
  Key(kKeyLeftAlt, true);
  Pass();
  Key(kKeyF4, true);
  EXPECT_THROW(Pass(), ProgramEnded);
  // EndProgram shut the engine down: open it again for the tests that follow.
  ReleaseEverything();
  InitSprite();
  InitKeyboard();
  InitSound();
  OpenGameScreen("Quillmosaica2");
}

}  // namespace
}  // namespace qm::test

namespace qm::test {
namespace {

// A window-manager close ends the game like Left Alt + F4, also while the window is away.
// Run in a child process: the close request stays seen for the rest of a run.
TEST_F(PlayEnd, WindowCloseEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetEndProgramThrows(false);
        InjectQuit();
        Pass();
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        SetEndProgramThrows(false);
        InjectFocus(false);
        InjectQuit();
        Pass();
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), "");
}

class PlayExit : public PlayEnd {};

TEST_F(PlayExit, ExitFadesOutSavesThePlayerAndGoesToTheMenu) {
  TempFolder players("qm-play-players");
  MapGameFolder("players", players.path());
  game.menu.selectedProfile = 4;
  game.players.speakerNames[0] = "Bea";
  game.players.levelsReached[0] = 9;
  game.players.avatars[0] = 5;
  game.players.scores[0] = 5000000000;
  game.easel.slots[0] = 12;
  const uint64_t presents = PresentCount();
  EXPECT_EQ(ExitToPlayerMenu(game), Screen::kPlayerMenuEntry);
  EXPECT_EQ(PresentCount() - presents, 52u);
  std::ifstream in(players.Path("4"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, ProfileBytes("Bea", 9, 5, 12, 5000000000));
  MapGameFolder("players", "");
}

}  // namespace
}  // namespace qm::test
