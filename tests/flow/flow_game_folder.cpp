// Where the game finds its folder: --data, the working folder, the folder installed beside
// the executable; and what it says when none of them holds the levels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/Files.hpp"
#include "game/flow/GameFolder.hpp"

namespace fs = std::filesystem;

namespace qm {
namespace {

class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm-folder-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    oldCwd_ = fs::current_path();
    fs::create_directories(root_ / "work");
    fs::current_path(root_ / "work");
  }
  void TearDown() override {
    fs::current_path(oldCwd_);
    SetGameFolder("");
    fs::remove_all(root_);
  }
  // A game folder as far as the search cares: its first level file.
  void MakeGame(const fs::path& folder) {
    fs::create_directories(folder / "maps");
    std::ofstream(folder / "maps" / "1") << "level";
  }
  std::string At(const std::string& relative) const { return (root_ / relative).string(); }

  fs::path root_, oldCwd_;
};

TEST_F(GameFolderTest, EachPlaceIsTriedInTurn) {
  struct Case {
    const char* name;
    std::vector<const char*> games;  // folders below root that hold levels
    const char* data;                // --data below root, "" = not given
    bool found;
    const char* chosen;  // below root; "" = the working folder
  };
  const Case cases[] = {
      {"data wins over the working folder", {"work", "other"}, "other", true, "other"},
      {"working folder", {"work", "prefix/share/games/quillmosaica"}, "", true, ""},
      {"installed beside the executable",
       {"prefix/share/games/quillmosaica"},
       "",
       true,
       "prefix/share/games/quillmosaica"},
      {"nothing anywhere", {}, "", false, ""},
      {"data without levels does not fall back", {"work"}, "other", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_ / "other");
    fs::remove_all(root_ / "prefix");
    fs::remove_all(root_ / "work" / "maps");
    fs::create_directories(root_ / "other");
    fs::create_directories(root_ / "prefix" / "games");
    for (const char* g : c.games) MakeGame(root_ / g);
    const std::string data = *c.data ? At(c.data) : "";
    const GameFolderSearch s = FindGameFolder(data, At("work"), At("prefix/games"));
    EXPECT_EQ(s.found, c.found);
    if (c.found) {
      EXPECT_EQ(s.folder, *c.chosen ? At(c.chosen) : "");
      EXPECT_EQ(s.error, "");
    } else {
      EXPECT_NE(s.error, "");
      for (const std::string& tried : s.tried) EXPECT_NE(s.error.find(tried), std::string::npos);
    }
  }
}

TEST_F(GameFolderTest, TheMessageNamesEveryFolderTried) {
  GameFolderSearch s = FindGameFolder("", At("work"), At("prefix/games"));
  ASSERT_FALSE(s.found);
  EXPECT_EQ(s.tried, (std::vector<std::string>{At("work"), At("prefix/share/games/quillmosaica")}));
  EXPECT_NE(s.error.find("--data"), std::string::npos);  // says how to point at one

  s = FindGameFolder(At("missing"), At("work"), At("prefix/games"));
  EXPECT_EQ(s.tried, std::vector<std::string>{At("missing")});
  EXPECT_NE(s.error.find(At("missing")), std::string::npos);
}

TEST_F(GameFolderTest, AFolderWhoseLevelsCannotBeReadIsNoGameFolder) {
  // A level that is a folder, a dangling link: the level list would come out empty.
  fs::create_directories(root_ / "a" / "maps" / "1");
  fs::create_directories(root_ / "b" / "maps");
  fs::create_symlink(root_ / "gone", root_ / "b" / "maps" / "1");
  fs::create_directories(root_ / "c");
  std::ofstream(root_ / "c" / "maps") << "not a folder";
  for (const char* folder : {"a", "b", "c"}) {
    SCOPED_TRACE(folder);
    EXPECT_FALSE(FindGameFolder(At(folder), "", "").found);
  }
}

TEST_F(GameFolderTest, TheSearchLeavesTheEnginePathsAsTheyWere) {
  MakeGame(root_ / "other");
  SetGameFolder(At("before"));
  ASSERT_TRUE(FindGameFolder(At("other"), At("work"), "").found);
  EXPECT_EQ(GameFolder(), At("before"));
}

TEST_F(GameFolderTest, GamePathsResolveBelowTheChosenFolder) {
  SetGameFolder(At("other"));
  EXPECT_EQ(HostPath("maps\\12"), At("other") + "/maps/12");
  EXPECT_EQ(HostPath("gfx/titre.jpg"), At("other") + "/gfx/titre.jpg");
  EXPECT_EQ(HostPath("/etc/passwd"), "/etc/passwd");  // a host path stays as it is
  // Profiles stay in the per-user folder, wherever the game folder is.
  MapGameFolder("players", At("home"));
  EXPECT_EQ(HostPath("players\\3"), At("home") + "/3");
  MapGameFolder("players", "");
  SetGameFolder("");
  EXPECT_EQ(HostPath("maps\\12"), "maps/12");
}

TEST(ExecutableFolder, IsTheFolderOfThisTestProgram) {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(ExecutableFolder(), self.parent_path().string());
}

}  // namespace
}  // namespace qm
