// The profile file: its byte layout, how short or odd files read, and the current player's
// values taken from it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "engine/Files.hpp"
#include "game/flow/Menus.hpp"
#include "game/flow/NewPlayer.hpp"
#include "game/flow/Profiles.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;

class ProfileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = temp_.path();
    fs::create_directories(dir_ / "players");
    fs::create_directories(dir_ / "maps");
    MapGameFolder("players", (dir_ / "players").string());
    MapGameFolder("maps", (dir_ / "maps").string());
  }
  void TearDown() override {
    MapGameFolder("players", "");
    MapGameFolder("maps", "");
  }
  void Write(const std::string& rel, const std::string& bytes) {
    std::ofstream(dir_ / rel, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& rel) {
    std::ifstream in(dir_ / rel, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  test::TempFolder temp_{"qm-flow"};
  fs::path dir_;
};

TEST_F(ProfileFiles, WritesTheExactByteLayout) {
  PlayerProfile p;
  p.name = "Bob";
  p.levelReached = 7;
  p.avatar = 4;
  p.easelSize = 12;
  p.reserved1 = -3;
  p.effectBonus = 5;
  p.reserved2 = 200;  // low 8 bits
  p.reserved3 = 1;
  p.score = 0x0102030405060708LL;
  ASSERT_TRUE(WritePlayerProfile(9, p));
  EXPECT_EQ(Read("players/9"), std::string("\x03"
                                           "Bob"
                                           "\x07\x04\x0c\xfd\x05\xc8\x01"
                                           "\x08\x07\x06\x05\x04\x03\x02\x01",
                                           19));
}

TEST_F(ProfileFiles, ReadsBackEveryFieldAsASignedByteAndTheWholeScore) {
  PlayerProfile p;
  p.name = std::string("\xe9t\xe9", 3);
  p.levelReached = 45;
  p.avatar = 19;
  p.easelSize = 18;
  p.reserved2 = 200;
  p.score = -5000000000LL;
  ASSERT_TRUE(WritePlayerProfile(20, p));
  PlayerProfile back;
  ASSERT_TRUE(ReadPlayerProfile(20, back));
  EXPECT_EQ(back.name, p.name);
  EXPECT_EQ(back.levelReached, 45);
  EXPECT_EQ(back.avatar, 19);
  EXPECT_EQ(back.easelSize, 18);
  EXPECT_EQ(back.reserved2, 200 - 256);
  EXPECT_EQ(back.score, -5000000000LL);
}

TEST_F(ProfileFiles, OddFilesReadAsTheirBytesSay) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string name;
    int level;
    int64_t score;
  };
  const Case cases[] = {
      {"truncated after the name",
       std::string("\x03"
                   "abc",
                   4),
       "abc", 0, 0},
      {"empty file", "", "", 0, 0},
      {"negative length reads no name", std::string("\xfe\x05\x01", 3), "", 5, 0},
      {"zero bytes in the name are skipped",
       std::string("\x03"
                   "a\0b"
                   "\x02",
                   5),
       "ab", 2, 0},
      {"score cut short",
       std::string("\x01"
                   "z\x03\0\0\0\0\0\0"
                   "\x05",
                   10),
       "z", 3, 5},
  };
  for (const Case& c : cases) {
    Write("players/4", c.bytes);
    PlayerProfile p;
    ASSERT_TRUE(ReadPlayerProfile(4, p)) << c.what;
    EXPECT_EQ(p.name, c.name) << c.what;
    EXPECT_EQ(p.levelReached, c.level) << c.what;
    EXPECT_EQ(p.score, c.score) << c.what;
  }
}

TEST_F(ProfileFiles, MissingProfilesKeepTheirMenuEntries) {
  Write("players/2", std::string("\x02"
                                 "Al"
                                 "\x03\x01\x0a\0\0\0\0"
                                 "\x10\0\0\0\0\0\0\0",
                                 18));
  MenuState menu;
  menu.name[5] = "kept";
  LoadPlayerProfiles(menu);
  EXPECT_EQ(menu.name[2], "Al");
  EXPECT_EQ(menu.levelReached[2], 3);
  EXPECT_EQ(menu.score[2], 16);
  EXPECT_EQ(menu.name[1], "");
  EXPECT_EQ(menu.name[5], "kept");
}

TEST_F(ProfileFiles, ThePlayerListLineReadsAsTheProfileSays) {
  struct Case {
    const char* what;
    int level;
    int64_t score;
    std::string line;
  } cases[] = {
      {"level 0, listed but not choosable", 0, 0, "Ann  ::  Lv.0 ::  Score : 0"},
      {"the highest playable level", 44, 7, "Ann  ::  Lv.44 ::  Score : 7"},
      {"every level passed", 45, 12, "Ann  ::  Master ::  Score : 12"},
      {"beyond 45 still Master", 100, 0, "Ann  ::  Master ::  Score : 0"},
      {"a score above 2^32", 3, 5000000000LL, "Ann  ::  Lv.3 ::  Score : 5000000000"},
      {"a score above 2^63 - 2^32", 3, 9223372036854775807LL,
       "Ann  ::  Lv.3 ::  Score : 9223372036854775807"},
      {"a negative score", 3, -42, "Ann  ::  Lv.3 ::  Score : -42"},
  };
  for (const Case& c : cases) {
    PlayerProfile p;
    p.name = "Ann";
    p.levelReached = c.level;
    p.easelSize = 10;
    p.score = c.score;
    ASSERT_TRUE(WritePlayerProfile(4, p));
    MenuState menu;
    LoadPlayerProfiles(menu);
    EXPECT_EQ(PlayerMenuLine(menu, 4), c.line) << c.what;
  }
}

TEST_F(ProfileFiles, SaveWritesTheCurrentPlayerToTheSelectedNumber) {
  GameState g;
  g.menu.selectedProfile = 3;
  g.players.speakerNames[0] = "Zoe";
  g.players.levelsReached[0] = 45;
  g.players.avatars[0] = 11;
  g.players.scores[0] = 3000000000LL;
  g.players.effectBonus[0] = 7;
  g.easel.slots[0] = 14;
  SavePlayerProfile(g);
  PlayerProfile p;
  ASSERT_TRUE(ReadPlayerProfile(3, p));
  EXPECT_EQ(p.name, "Zoe");
  EXPECT_EQ(p.levelReached, 45);
  EXPECT_EQ(p.avatar, 11);
  EXPECT_EQ(p.easelSize, 14);
  EXPECT_EQ(p.effectBonus, 7);
  EXPECT_EQ(p.score, 3000000000LL);
}

TEST_F(ProfileFiles, AnUncreatableProfileIsSkippedInSilence) {
  MapGameFolder("players", (dir_ / "not-a-folder" / "players").string());
  Write("not-a-folder", "a file where the folder should be");
  GameState g;
  g.menu.selectedProfile = 1;
  g.players.speakerNames[0] = "x";
  SavePlayerProfile(g);
  PlayerProfile p;
  EXPECT_FALSE(ReadPlayerProfile(1, p));
}

// Avatars and Easel sizes as a profile file may hold them, in range or not: the chosen player
// gets them held within their tables, so nothing is indexed out of bounds.
TEST_F(ProfileFiles, ChosenPlayerKeepsAvatarAndEaselSizeWithinTheirTables) {
  struct Case {
    int avatar, easel;
    int wantAvatar, wantEasel;
  };
  const Case cases[] = {{4, 10, 4, 10},   {19, 18, 19, 18},  {23, 40, 3, 18},
                        {-1, 0, 19, 6},   {-128, -5, 12, 6}, {0, 6, 0, 6},
                        {19, 6, 19, 6},   {5, 18, 5, 18},    {20, 100, 0, 18},
                        {-20, 19, 0, 18}, {127, 127, 7, 18}, {-128, -128, 12, 6}};
  for (const Case& c : cases) {
    Write("players/2", test::ProfileBytes("n", 4, c.avatar, c.easel, int64_t{1} << 40));
    auto g = std::make_unique<GameState>();
    LoadPlayerProfiles(g->menu);
    ChoosePlayerValues(*g, 2);
    EXPECT_EQ(g->players.avatars[0], c.wantAvatar) << c.avatar;
    EXPECT_EQ(g->easel.slots[0], c.wantEasel) << c.easel;
    EXPECT_EQ(g->players.scores[0], int64_t{1} << 40);
    EXPECT_EQ(g->players.levelsReached[0], 4);
    EXPECT_EQ(g->menu.selectedProfile, 2);
  }
}

TEST(NewPlayer, AvatarEdgesFollowTheStrip) {
  const int edges[20] = {0,   76,  153, 229, 306,  382,  458,  535,  611,  688,
                         764, 840, 917, 993, 1070, 1146, 1222, 1299, 1375, 1452};
  for (int a = 0; a < 20; ++a) EXPECT_EQ(AvatarLeftEdge(a), edges[a]) << a;
  EXPECT_EQ(AvatarLeftEdge(21), 76);
}

TEST_F(ProfileFiles, LevelTitlesComeFromTheHeadOfEachLevelFile) {
  Write("maps/1", std::string("\x05"
                              "Alpha"
                              "rest of the level",
                              23));
  Write("maps/3", std::string("\x00", 1));
  Write("maps/50", std::string("\x02"
                               "Zz",
                               3));
  MenuState menu;
  menu.levelTitles[2] = "stale";
  LoadLevelTitles(menu);
  EXPECT_EQ(menu.levelTitles[1], "Level 1 : Alpha");
  EXPECT_EQ(menu.levelTitles[2], "");
  EXPECT_EQ(menu.levelTitles[3], "Level 3 : ");
  EXPECT_EQ(menu.levelTitles[50], "Level 50 : Zz");
}

}  // namespace
}  // namespace qm
