// The start-up, the title and the menus played headless on a small game folder of their own.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Input.hpp"
#include "engine/TestHooks.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/e2e/Session.hpp"

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kRowY = 6;  // a row's middle, 13 pixels per row
constexpr int kNewPlayerY = 24 * 13 + kRowY;
constexpr int kQuitY = 30 * 13 + kRowY;

using test::ProfileBytes;

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeMenuFolder(folder_.path(), {"First steps", "Second", "Third", "Fourth", "Fifth"});
    session_ = std::make_unique<Session>(folder_.path());
  }
  void TearDown() override { session_.reset(); }
  void WriteProfile(int n, const std::string& bytes) {
    WriteFileBytes(session_->playersFolder() + "/" + std::to_string(n), bytes);
  }
  std::string SavedProfile(int n) {
    return ReadFileBytes(session_->playersFolder() + "/" + std::to_string(n));
  }
  static Script ToPlayerMenu() {
    Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200);
    return s;
  }

  test::TempFolder folder_{"qm-e2e-menu"};
  std::unique_ptr<Session> session_;
};

TEST_F(MenuTest, StartUpShowsTheTitleThenThePlayerMenu) {
  uint32_t menuTick = 0;
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry);
  s.Check([&](const GameState& g) {
    EXPECT_EQ(g.program.screenWidth, 1024);
    EXPECT_EQ(g.program.screenHeight, 768);
    EXPECT_EQ(g.program.visibleColumnSpan, 1024 / 52 + 2);
    EXPECT_EQ(g.program.visibleRowSpan, 768 / 45 + 2);
    EXPECT_EQ(g.players.levelsReached[0], 2);
    EXPECT_EQ(g.program.gridBackground, 2);
  });
  s.Until("the tick", [&](const GameState&, Screen, uint32_t t) { return (menuTick = t) > 0; });
  s.Wait(300).Check([](const GameState& g) {
    EXPECT_EQ(g.menu.firstFreeProfile, 1);  // no profiles: New player makes profile 1
    EXPECT_EQ(g.menu.currentLevel, 1);
  });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  ASSERT_GE(r.screens.size(), 3u);
  EXPECT_EQ(r.screens[0], Screen::kStartUp);
  EXPECT_EQ(r.screens[1], Screen::kTitle);
  EXPECT_EQ(r.screens[2], Screen::kPlayerMenuEntry);
  // 52 fade-in frames, a hold of a little over 5 s, 26 fade-out frames.
  EXPECT_GT(menuTick, 5000u + 70 * 16);
  EXPECT_LT(menuTick, 5000u + 90 * 17 + 500);
}

struct HoldCase {
  const char* what;
  int key;      // a key tapped during the hold, 0 = none
  char button;  // a button clicked during the hold, 0 = none
  bool endsEarly;
};

class TitleHoldTest : public MenuTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(TitleHoldTest, OnlyALeftClickOrSpaceEndsTheHoldEarly) {
  const HoldCase& c = GetParam();
  uint32_t menuTick = 0;
  Script s;
  s.Wait(52 * 17 + 1500);  // after the fade in
  if (c.key != 0) s.Key(c.key, true).Wait(300).Key(c.key, false);
  if (c.button != 0) s.Move(500, 500).Button(c.button, true).Wait(300).Button(c.button, false);
  s.UntilScreen(Screen::kPlayerMenuEntry);
  s.Until("the tick", [&](const GameState&, Screen, uint32_t t) { return (menuTick = t) > 0; });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  if (c.endsEarly) {
    EXPECT_LT(menuTick, 52u * 17 + 1500 + 300 + 26 * 17 + 200) << c.what;
  } else {
    EXPECT_GT(menuTick, 5000u + 52 * 16) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, TitleHoldTest,
                         ::testing::Values(HoldCase{"nothing", 0, 0, false},
                                           HoldCase{"space", kKeySpace, 0, true},
                                           HoldCase{"left click", 0, 'L', true},
                                           HoldCase{"the A key", 30, 0, false},
                                           HoldCase{"right click", 0, 'R', false},
                                           HoldCase{"middle click", 0, 'M', false}));

TEST_F(MenuTest, NewPlayerWritesProfileOneInTheProfileLayout) {
  Script s = ToPlayerMenu();
  s.Click(512, kNewPlayerY).Wait(200);
  s.Type("abc");
  for (int i = 0; i < 4; ++i) s.Tap(kKeyRight).Wait(300);  // avatar 0 -> 4
  s.Tap(kKeyReturn).Wait(300);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.menu.name[1], "abc");
    EXPECT_EQ(g.menu.levelReached[1], 1);
    EXPECT_EQ(g.menu.avatar[1], 4);
    EXPECT_EQ(g.menu.firstFreeProfile, 2);
  });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  const std::string expected(
      "\x03"
      "abc"
      "\x01\x04\x0a\x00\x00\x00\x00"
      "\0\0\0\0\0\0\0\0",
      19);
  EXPECT_EQ(SavedProfile(1), expected);
}

TEST_F(MenuTest, NewPlayerTakesTheFirstFreeNumberAndEscapeWritesNothing) {
  WriteProfile(1, ProfileBytes("one", 1, 0, 10, 0));
  WriteProfile(3, ProfileBytes("three", 2, 0, 10, 0));
  Script s = ToPlayerMenu();
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.firstFreeProfile, 2); });
  // Escape on the new player screen returns without a profile; the menu does not end.
  s.Click(512, kNewPlayerY).Wait(200).Type("zz").Tap(kKeyEscape).Wait(500);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.name[2], ""); });
  s.Click(512, kNewPlayerY).Wait(200).Type("Bo").Tap(kKeyReturn).Wait(300);
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(SavedProfile(2).substr(0, 3), std::string("\x02"
                                                      "Bo"));
  EXPECT_EQ(SavedProfile(2).size(), 18u);
}

TEST_F(MenuTest, BackspaceRemovesOneCharacterPerPressShiftGivesCapitalsLeftWrapsTheAvatar) {
  Script s = ToPlayerMenu();
  s.Click(512, kNewPlayerY).Wait(200);
  s.Type("aBcd");
  s.Key(kKeyBackspace, true).Wait(1500).Key(kKeyBackspace, false).Wait(100);
  s.Tap(kKeyLeft).Wait(300);  // avatar 0 -> 19
  s.Tap(kKeyReturn).Wait(300).Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(SavedProfile(1), std::string("\x03"
                                         "aBc"
                                         "\x01\x13\x0a\0\0\0\0"
                                         "\0\0\0\0\0\0\0\0",
                                         19));
}

TEST_F(MenuTest, WithAllTwentyProfilesNewPlayerDoesNothing) {
  for (int n = 1; n <= 20; ++n) WriteProfile(n, ProfileBytes("p" + std::to_string(n), 1, 0, 10, n));
  Script s = ToPlayerMenu();
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.firstFreeProfile, -1); });
  // Still in the player list after the click: Escape there ends the program.
  s.Click(512, kNewPlayerY).Wait(100).Key(kKeyEscape, true).Ends(2000);
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(MenuTest, TheQuitRowAndEscapeEndTheProgram) {
  for (int viaRow = 0; viaRow < 2; ++viaRow) {
    Script s = ToPlayerMenu();
    if (viaRow == 1) {
      s.Press(512, kQuitY);  // the row acts on the press
    } else {
      s.Key(kKeyEscape, true);
    }
    s.Ends(2000);
    RunResult r = session_->Run(s);
    ASSERT_EQ(r.failure, "") << (viaRow ? "quit row" : "escape");
    EXPECT_TRUE(r.ended);
    EXPECT_TRUE(r.scriptDone);
  }
}

TEST_F(MenuTest, ClicksOnOtherRowsDoNothing) {
  WriteProfile(1, ProfileBytes("one", 1, 0, 10, 0));
  Script s = ToPlayerMenu();
  for (int row : {0, 2, 21, 23, 25, 29, 31, 40}) s.Click(512, row * 13 + kRowY).Wait(100);
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(r.screens.back(), Screen::kPlayerMenuEntry);
}

TEST_F(MenuTest, PlayerRowsAreDrawnAtTheirNumbers) {
  WriteProfile(1, ProfileBytes("one", 1, 0, 10, 0));
  WriteProfile(3, ProfileBytes("three", 45, 0, 10, 0));
  Script s = ToPlayerMenu();
  s.Move(-1, -1).Wait(100).Check([](const GameState&) {
    auto rowHasYellow = [](int row) {
      for (int y = row * 13; y < row * 13 + 13; ++y) {
        for (int x = 300; x < 724; ++x) {
          uint32_t p = ReadBackPixel(x, y);
          if ((p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) > 200 && (p & 0xFF) < 60) return true;
        }
      }
      return false;
    };
    EXPECT_TRUE(rowHasYellow(1));
    EXPECT_FALSE(rowHasYellow(2));
    EXPECT_TRUE(rowHasYellow(3));
  });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
}

TEST_F(MenuTest, ChoosingAPlayerCopiesTheProfileAndOpensTheLevelList) {
  const int64_t bigScore = 5000000123LL;               // beyond 32 bits
  WriteProfile(1, ProfileBytes("zero", 0, 0, 10, 0));  // level reached 0: listed, not choosable
  WriteProfile(2, ProfileBytes("Ann", 3, 7, 12, bigScore));
  session_->StopBefore(Screen::kStartLevel);
  Script s = ToPlayerMenu();
  s.Click(512, 1 * 13 + kRowY).Wait(200);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.selectedProfile, 0); });
  s.Click(512, 2 * 13 + kRowY);
  s.UntilScreen(Screen::kLevelMenu).Wait(100);
  s.Check([&](const GameState& g) {
    EXPECT_EQ(g.menu.selectedProfile, 2);
    EXPECT_EQ(g.players.speakerNames[0], "Ann");
    EXPECT_EQ(g.players.levelsReached[0], 3);
    EXPECT_EQ(g.players.avatars[0], 7);
    EXPECT_EQ(g.players.scores[0], bigScore);
    EXPECT_EQ(g.easel.slots[0], 12);
    EXPECT_EQ(g.menu.levelTitles[1], "Level 1 : First steps");
    EXPECT_EQ(g.menu.levelTitles[5], "Level 5 : Fifth");
    EXPECT_EQ(g.menu.levelTitles[6], "");
  });
  // Level 4 lies beyond the level reached: nothing happens. Level 3 is chosen.
  s.Click(512, 4 * 13 + kRowY).Wait(200);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.currentLevel, 1); });
  s.Press(512, 3 * 13 + kRowY).Wait(64).Button('L', false).Ends();  // chosen on the release
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(Game().menu.currentLevel, 3);
  EXPECT_EQ(Game().easel.carriedSlotCount, 12);
  EXPECT_EQ(Game().options.musicVolume, 50);
  EXPECT_EQ(Game().players.speakerNames[8], "Quillmosaica");
  EXPECT_EQ(Game().render.speakerColours[0], 0xFFFFFFu);
  EXPECT_EQ(Game().render.speakerColours[8], 255u | 200u << 8 | 55u << 16);
}

TEST_F(MenuTest, AProfileWithAnEmptyNameIsOfferedAgainYetCanBeChosen) {
  WriteProfile(1, ProfileBytes("", 3, 0, 10, 0));
  session_->StopBefore(Screen::kPrepareGame);
  Script s = ToPlayerMenu();
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.firstFreeProfile, 1); });
  s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu).Wait(100).Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
  EXPECT_EQ(Game().menu.selectedProfile, 1);
}

TEST_F(MenuTest, EscapeInTheLevelListGoesBackToThePlayerList) {
  WriteProfile(1, ProfileBytes("Ann", 2, 0, 10, 0));
  Script s = ToPlayerMenu();
  s.Click(512, 1 * 13 + kRowY);
  s.UntilScreen(Screen::kLevelMenu).Wait(200);
  // Escape is held for a while: the player list must not take the same press as its own.
  s.Key(kKeyEscape, true).Wait(400).Key(kKeyEscape, false);
  s.UntilScreen(Screen::kPlayerMenuReturn).Wait(300);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.menu.name[1], "Ann");
    EXPECT_EQ(g.players.speakerNames[0], "Ann");  // the current player is kept
  });
  s.Quit();
  RunResult r = session_->Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.scriptDone);
}

TEST_F(MenuTest, ClosingTheWindowEndsTheProgramFromEveryMenu) {
  WriteProfile(1, ProfileBytes("Ann", 2, 0, 10, 0));
  const std::string before = SavedProfile(1);
  for (int where = 0; where < 4; ++where) {
    Script s;
    if (where == 0) s.Wait(2000);  // in the title hold
    if (where >= 1) s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
    if (where == 2) s.Click(512, kNewPlayerY).Wait(200);
    if (where == 3) s.Click(512, 1 * 13 + kRowY).UntilScreen(Screen::kLevelMenu).Wait(200);
    s.Quit();
    RunResult r = session_->Run(s);
    ASSERT_EQ(r.failure, "") << where;
    EXPECT_TRUE(r.ended) << where;
    EXPECT_TRUE(r.scriptDone) << where;
  }
  EXPECT_EQ(SavedProfile(1), before);
}

// With no font at all the start-up reports the first font it cannot load and ends.
TEST(StartUpDeathTest, AFontThatCannotLoadIsReportedAndEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string conf = (fs::temp_directory_path() / "qm-no-fonts.conf").string();
  WriteFileBytes(conf, "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  EXPECT_EXIT(
      {
        setenv("FONTCONFIG_FILE", conf.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        for (Screen s = Screen::kStartUp;;) s = RunScreen(Game(), s);
      },
      ::testing::ExitedWithCode(0), "Erreur: LoadFont\\(1, ''Arial'', 8\\) : impossible");
}

}  // namespace
}  // namespace qm::e2e
