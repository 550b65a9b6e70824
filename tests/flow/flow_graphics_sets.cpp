// Which picture file goes into which sprite slot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/flow/GraphicsSets.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;

// A 24-bit picture `width` pixels wide and 1 high, white (not the key colour).
void WriteBmp(const fs::path& path, int width) {
  fs::create_directories(path.parent_path());
  const int row = (width * 3 + 3) / 4 * 4;
  const uint32_t size = 54 + row;
  std::string b = "BM";
  auto put32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>(v >> (8 * i) & 0xFF);
  };
  auto put16 = [&b](uint16_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8);
  };
  put32(size);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<uint32_t>(width));
  put32(1);
  put16(1);
  put16(24);
  put32(0);
  put32(static_cast<uint32_t>(row));
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  b += std::string(static_cast<size_t>(width) * 3, '\xff');
  b += std::string(static_cast<size_t>(row - width * 3), '\0');
  std::ofstream(path, std::ios::binary) << b;
}

class GraphicsSets : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    dir_ = temp_.path();
    fs::current_path(dir_);
    // The dummy video driver needs no EGL, whose library leaks under the leak checker.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SetHeadlessScreenSize(64, 64);
    ASSERT_NE(InitSprite(), 0);
    OpenGameScreen("test");
  }
  void TearDown() override {
    FreeSpriteImage(-1);
    CloseGameScreen();
    fs::current_path(old_);
  }
  test::TempFolder temp_{"qm-flow-gfx"};
  fs::path old_, dir_;
};

TEST_F(GraphicsSets, TheGridBackgroundPicksThePictureOfSlot159) {
  WriteBmp(dir_ / "gfx/000/157.bmp", 3);
  WriteBmp(dir_ / "gfx/000/158.bmp", 4);
  WriteBmp(dir_ / "gfx/000/159.bmp", 5);
  const int expected[3] = {3, 4, 5};
  for (int grid = 0; grid < 3; ++grid) {
    GameState g;
    g.program.gridBackground = static_cast<int8_t>(grid);
    LoadGraphicsSets(g);
    EXPECT_EQ(SpriteWidthOf(159), expected[grid]) << grid;
    EXPECT_EQ(SpriteWidthOf(157), 3);
    EXPECT_EQ(SpriteWidthOf(158), 4);
  }
}

TEST_F(GraphicsSets, EveryFolderFillsItsSlotsAndAMissingFileKeepsTheOldPicture) {
  WriteBmp(dir_ / "gfx/7.bmp", 6);
  WriteBmp(dir_ / "gfx/000/240.bmp", 7);
  WriteBmp(dir_ / "gfx/000/0/300.bmp", 8);
  WriteBmp(dir_ / "gfx/000/0/394.bmp", 9);
  WriteBmp(dir_ / "gfx/title.bmp", 10);
  ASSERT_NE(LoadSpriteImage(1, "gfx\\title.bmp"), 0);  // what the title left in slot 1
  GameState g;
  LoadGraphicsSets(g);
  EXPECT_EQ(SpriteWidthOf(1007), 6);
  EXPECT_EQ(SpriteWidthOf(240), 7);
  EXPECT_EQ(SpriteWidthOf(300), 8);
  EXPECT_EQ(SpriteWidthOf(394), 9);
  EXPECT_EQ(SpriteWidthOf(1), 10);  // no 1.bmp: the title picture stays
  EXPECT_EQ(SpriteWidthOf(1001), 0);
}

}  // namespace
}  // namespace qm
