// A game folder with nothing in it: the game starts, the menus work, and a level whose file
// holds only its title is played on the one-Cell Board without a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/Input.hpp"
#include "game/GameState.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"

namespace qm::hard {
namespace {

using e2e::Script;
using e2e::Session;

constexpr int kNewPlayerY = 24 * 13 + 6;
constexpr int kQuitY = 30 * 13 + 6;
constexpr int kRow1Y = 13 + 6;

TEST(MissingData, EmptyGameFolderStartsAndTheMenusWork) {
  TempFolder game;
  Session session(game.path());
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
  s.Click(512, kNewPlayerY).Wait(200).Type("Nobody").Tap(kKeyReturn).Wait(300);
  s.Click(512, kRow1Y).Wait(300);
  s.UntilScreen(Screen::kLevelMenu).Wait(200);
  s.Click(512, kRow1Y).Wait(300);  // no level file: nothing to choose
  s.Check([](const GameState& g) { EXPECT_TRUE(g.menu.levelTitles[1].empty()); });
  s.Tap(kKeyEscape).Wait(300);
  s.UntilScreen(Screen::kPlayerMenuReturn).Wait(300);
  s.Press(512, kQuitY).Ends();
  e2e::RunResult r = session.Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(r.lastScreen, Screen::kEndProgram);  // through "Quit (ESC)"
  EXPECT_EQ(std::count(r.screens.begin(), r.screens.end(), Screen::kPlayerMenuReturn), 1);
  for (Screen never : {Screen::kStartLevel, Screen::kRunLevel}) {
    EXPECT_EQ(std::count(r.screens.begin(), r.screens.end(), never), 0);
  }
  PlayerProfile p;
  ASSERT_TRUE(ReadPlayerProfile(1, p));
  EXPECT_EQ(p.name, "Nobody");
}

// Only "maps\1" with a title and nothing after it: no pictures, sounds, music or words. The
// level is the one-Cell Board; Pieces, validation, the chat, the panels, an exchange and the
// EXIT control all run on it.
TEST(MissingData, LevelWithNothingButItsTitle) {
  TempFolder game;
  e2e::MakeMenuFolder(game.path(), {"Bare"});
  Session session(game.path());
  e2e::WriteFileBytes(session.playersFolder() + "/1", ProfileBytes("Solo", 3, 2, 10, 50));
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300).Click(512, kRow1Y).Wait(300);
  s.UntilScreen(Screen::kLevelMenu).Wait(200).Click(512, kRow1Y);
  s.UntilScreen(Screen::kRunLevel).Wait(500);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.board.w, 0);
    EXPECT_EQ(g.board.h, 0);
    ASSERT_EQ(g.board.cells.size(), 1u);
    EXPECT_EQ(g.board.cells[0], 0);
    EXPECT_EQ(g.board.title, "Bare");
    EXPECT_EQ(g.easel.slots[0], 10);
  });
  // A Piece from the Easel dropped on the Board, then anywhere; validation; take back.
  s.Move(512 - 5 * 26 + 26, 768 - 30).Wait(50).Button('L', true).Wait(80);
  s.Move(300, 300).Wait(80).Button('L', false).Wait(80);
  s.Move(512 - 5 * 26 + 80, 768 - 30).Wait(50).Button('L', true).Wait(80);
  s.Move(30, 20).Wait(80).Button('L', false).Wait(80);
  s.Tap(kKeySpace).Wait(100).Button('R', true).Wait(80).Move(200, 200).Wait(80).Button('R', false);
  s.Tap(kKeyTab, "", 300).Wait(100);
  s.Tap(kKeyReturn).Type("cat").Tap(kKeyReturn).Wait(100);  // no dictionary: not found
  for (int k = 1; k <= 5; ++k) s.Click(10, 768 - 224 + 20 * k + 10).Wait(60);  // chat panel
  for (int k = 1; k <= 6; ++k) s.Click(1024 - 10, 768 - 160 + 20 * k + 10).Wait(60);  // music
  for (int k = 0; k <= 2; ++k) s.Click(10, 20 * k + 10).Wait(60);  // view panel
  s.Click(512 - 5 * 26 + 10 * 52 - 62, 768 - 62 - 12).Wait(100);    // an exchange token
  s.Click(512 - 5 * 26 + 26, 768 - 30).Wait(60).Click(594, 768 - 62 - 244).Wait(200);
  s.Tap(kKeyEscape).Wait(100);
  s.Check([](const GameState& g) {
    EXPECT_EQ(g.board.cells[0], 0);  // the void Cell takes no Piece
    int pieces = 0;
    for (int k = 1; k <= g.easel.slots[0]; ++k) pieces += g.easel.slots[k] != 160;
    EXPECT_EQ(pieces, g.easel.slots[0]);
  });
  // EXIT: left and right held on the square saves the player and goes back to the menu.
  s.Move(1024 - 7, 6).Wait(50).Button('L', true).Wait(50).Button('R', true).Wait(100);
  s.Button('R', false).Button('L', false);
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300).Press(512, kQuitY).Ends();
  e2e::RunResult r = session.Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  PlayerProfile p;
  ASSERT_TRUE(ReadPlayerProfile(1, p));
  EXPECT_EQ(p.name, "Solo");
  EXPECT_EQ(p.levelReached, 3);
  EXPECT_EQ(p.easelSize, 10);
}

}  // namespace
}  // namespace qm::hard
