// A game folder with nothing in it is no game folder: the start-up says which folders it
// tried and ends with status 1 instead of showing an empty level list. A level file with
// nothing but its title is enough to start, and the menus work on it (below).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "game/GameState.hpp"
#include "game/flow/CommandLine.hpp"
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

// Sets --data for the runs of one test.
class DataOption {
 public:
  explicit DataOption(const std::string& folder) {
    CommandLine line;
    line.dataFolder = folder;
    SetLaunchCommandLine(line);
  }
  ~DataOption() { SetLaunchCommandLine(CommandLine{}); }
};

void ExpectRefusedAtStartUp(const e2e::RunResult& r, const std::string& said,
                            const std::string& folder) {
  EXPECT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.screens, std::vector<Screen>{Screen::kStartUp});
  EXPECT_NE(said.find("Erreur: "), std::string::npos) << said;
  EXPECT_NE(said.find(folder), std::string::npos) << said;
}

TEST(MissingData, AnEmptyWorkingFolderIsRefusedNamingTheFoldersTried) {
  TempFolder game;
  std::filesystem::create_directory(game.path() + "/maps");  // maps/ without a level
  Session session(game.path());
  testing::internal::CaptureStderr();
  e2e::RunResult r = session.Run(Script().Ends());  // refused before any screen
  const std::string said = testing::internal::GetCapturedStderr();
  ExpectRefusedAtStartUp(r, said, game.path());
  EXPECT_NE(said.find("share/games/quillmosaica"), std::string::npos) << said;  // beside the exe
  EXPECT_FALSE(std::filesystem::exists(session.playersFolder() + "/1"));
}

TEST(MissingData, ADataFolderThatCannotBeUsedIsRefusedWithoutLookingElsewhere) {
  // The working folder is a good game folder: --data still wins, and its mistake is told.
  TempFolder game, bare;
  e2e::MakeMenuFolder(game.path(), {"Here"});
  std::filesystem::create_directories(bare.path() + "/maps/1");  // a folder, not a level file
  for (const std::string& folder : {bare.path() + "/nowhere", bare.path()}) {
    DataOption data(folder);
    Session session(game.path());
    testing::internal::CaptureStderr();
    e2e::RunResult r = session.Run(Script().Ends());  // refused before any screen
    const std::string said = testing::internal::GetCapturedStderr();
    ExpectRefusedAtStartUp(r, said, folder);
    EXPECT_NE(said.find("--data"), std::string::npos) << said;
    EXPECT_EQ(said.find(game.path()), std::string::npos) << said;
  }
}

// Started from a folder without levels, --data gives the game its folder; profiles stay in
// the per-user folder.
TEST(MissingData, DataFolderIsPlayedFromAnotherWorkingFolder) {
  TempFolder work, game;
  e2e::MakeMenuFolder(game.path(), {"Far away"});
  DataOption data(game.path());
  Session session(work.path());
  Script s;
  s.UntilScreen(Screen::kPlayerMenuEntry).Wait(300);
  s.Click(512, kNewPlayerY).Wait(200).Type("Ava").Tap(kKeyReturn).Wait(300);
  s.Click(512, kRow1Y).Wait(300);
  s.UntilScreen(Screen::kLevelMenu).Wait(200);
  s.Check([](const GameState& g) { EXPECT_EQ(g.menu.levelTitles[1], "Level 1 : Far away"); });
  s.Click(512, kRow1Y).UntilScreen(Screen::kRunLevel).Wait(300);
  s.Check([](const GameState& g) { EXPECT_EQ(g.board.title, "Far away"); });
  s.Quit();
  e2e::RunResult r = session.Run(s);
  ASSERT_EQ(r.failure, "");
  EXPECT_TRUE(r.ended);
  EXPECT_EQ(r.status, 0);
  PlayerProfile p;
  ASSERT_TRUE(ReadPlayerProfile(1, p));
  EXPECT_EQ(p.name, "Ava");
  EXPECT_EQ(std::filesystem::directory_iterator(work.path()),
            std::filesystem::directory_iterator());  // nothing written where it was started
  EXPECT_EQ(GameFolder(), "");                       // the next run starts afresh
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
  for (int k = 1; k <= 5; ++k) s.Click(10, 768 - 224 + 20 * k + 10).Wait(60);         // chat panel
  for (int k = 1; k <= 6; ++k) s.Click(1024 - 10, 768 - 160 + 20 * k + 10).Wait(60);  // music
  for (int k = 0; k <= 2; ++k) s.Click(10, 20 * k + 10).Wait(60);                     // view panel
  s.Click(512 - 5 * 26 + 10 * 52 - 62, 768 - 62 - 12).Wait(100);  // an exchange token
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
