// Profiles with names at and past the length byte's limit, Easel sizes and avatars out of
// range, and a profile folder that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "engine/Files.hpp"
#include "engine/Input.hpp"
#include "game/GameState.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/e2e/Session.hpp"
#include "tests/hardening/HardeningSupport.hpp"

namespace qm::hard {
namespace {

namespace fs = std::filesystem;
using e2e::ReadFileBytes;
using e2e::Script;
using e2e::Session;
using e2e::WriteFileBytes;

// The new-player screen takes 127 bytes of name and refuses the 128th and every later one.
TEST(HostileProfiles, NewPlayerNameStopsAt127Bytes) {
  struct Case {
    int typed;
    size_t kept;
  } cases[] = {{127, 127}, {128, 127}, {140, 127}};
  for (const Case& c : cases) {
    TempFolder game;
    e2e::MakeMenuFolder(game.path(), {"First"});
    Session session(game.path());
    std::string name;
    for (int k = 0; k < c.typed; ++k) name += static_cast<char>('a' + k % 26);
    Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200).Click(512, 24 * 13 + 6).Wait(100);
    s.Type(name).Tap(kKeyReturn).Wait(300);
    s.Check([&](const GameState& g) {
      EXPECT_EQ(g.menu.name[1].size(), c.kept) << c.typed << " typed";
    });
    s.Quit();
    e2e::RunResult r = session.Run(s);
    ASSERT_EQ(r.failure, "");
    std::string bytes = ReadFileBytes(session.playersFolder() + "/1");
    ASSERT_EQ(bytes.size(), c.kept + 16) << c.typed << " typed";
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), c.kept);
    EXPECT_EQ(bytes.substr(1, c.kept), name.substr(0, c.kept));
    // And it reads back whole.
    PlayerProfile p;
    ASSERT_TRUE(ReadPlayerProfile(1, p));
    EXPECT_EQ(p.name, name.substr(0, c.kept));
    EXPECT_EQ(p.levelReached, 1);
  }
}

// A name longer than the length byte holds (from memory) is saved as its first 127 bytes, so
// the file still reads back; a 127-byte name goes through whole.
TEST(HostileProfiles, SavedNamesAlwaysReadBack) {
  TempFolder players;
  MapGameFolder("players", players.path());
  for (size_t length : {size_t{0}, size_t{1}, size_t{127}, size_t{128}, size_t{300}}) {
    auto game = std::make_unique<GameState>();
    game->menu.selectedProfile = 4;
    game->players.speakerNames[0] = std::string(length, 'Q');
    game->players.levelsReached[0] = 9;
    game->players.scores[0] = -77;
    SavePlayerProfile(*game);
    PlayerProfile p;
    ASSERT_TRUE(ReadPlayerProfile(4, p));
    EXPECT_EQ(p.name, std::string(std::min<size_t>(length, 127), 'Q')) << length;
    EXPECT_EQ(p.levelReached, 9) << length;
    EXPECT_EQ(p.score, -77) << length;
  }
  MapGameFolder("players", "");
}

// Easel sizes and avatars out of range (held within their tables when the player is chosen:
// see flow_profiles.cpp) through the real screens: the level starts, deals and draws the HUD
// with the avatar picture (under the sanitizers in the sanitizer build).
TEST(HostileProfiles, OutOfRangeValuesPlayALevel) {
  const std::string game = e2e::FullGameFolder();
  if (game.empty()) GTEST_SKIP() << "the game folder has not been made";
  for (auto [easel, avatar] : {std::pair{100, -128}, std::pair{-5, 127}, std::pair{0, 20}}) {
    Session session(game);
    WriteFileBytes(session.playersFolder() + "/1", ProfileBytes("Edge", 2, avatar, easel, 0));
    int16_t dealt = 0;
    Script s;
    s.UntilScreen(Screen::kPlayerMenuEntry).Wait(200).Click(512, 13 + 6).Wait(200);
    s.UntilScreen(Screen::kLevelMenu).Wait(200).Click(512, 13 + 6);
    s.UntilScreen(Screen::kRunLevel).Wait(1500);
    s.Check([&](const GameState& g) { dealt = g.easel.slots[0]; });
    s.Move(100, 100).Wait(100).Tap(kKeyTab, "", 400).Wait(200);  // the DetailsView with the HUD
    s.Quit();
    e2e::RunResult r = session.Run(s);
    ASSERT_EQ(r.failure, "") << easel << "/" << avatar;
    EXPECT_GE(dealt, 6);
    EXPECT_LE(dealt, 18);
  }
}

// Saving into a folder that cannot be written fails: the old file stays whole and reads as
// before, and no stray file is left (what the player is told: full_disk_test.cpp). Run in a child
// process that is not root, since root may write anywhere.
TEST(HostileProfiles, UnwritableProfileFolderKeepsTheOldFile) {
  TempFolder temp;
  const std::string players = temp.path() + "/players";
  fs::create_directories(players);
  const std::string old = ProfileBytes("Keeper", 12, 3, 11, 123456789);
  WriteFileBytes(players + "/5", old);
  ::chmod(temp.path().c_str(), 0755);
  ::chmod((players + "/5").c_str(), 0444);
  ::chmod(players.c_str(), 0555);

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    MapGameFolder("players", players);
    auto game = std::make_unique<GameState>();
    LoadPlayerProfiles(game->menu);
    if (game->menu.name[5] != "Keeper") _exit(4);
    ChoosePlayerValues(*game, 5);
    game->players.scores[0] = 1;
    game->players.levelsReached[0] = 30;
    SavePlayerProfile(*game);  // must fail, and say so
    if (game->menu.saveProblem.find(players) == std::string::npos) _exit(6);
    PlayerProfile p;
    if (!ReadPlayerProfile(5, p) || p.score != 123456789 || p.levelReached != 12) _exit(5);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ::chmod(players.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "3: cannot drop root, 4: not read, 5: the old profile changed, 6: no message";
  EXPECT_EQ(ReadFileBytes(players + "/5"), old);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(players)) ++files;
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace qm::hard
