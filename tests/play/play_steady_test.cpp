// A steady frame of level play opens no file and renders no glyph.
#include "engine/Drawing.hpp"
#include "game/play/StartLevel.hpp"
#include "tests/play/play_support.hpp"

namespace qm::test {
namespace {

class PlaySteady : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    oldFolder_ = std::filesystem::current_path();
    if (std::filesystem::exists(std::filesystem::path(QM_DATA_DIR) / "maps" / "1")) {
      std::filesystem::current_path(QM_DATA_DIR);
      haveData_ = true;
    }
  }
  void TearDown() override {
    std::filesystem::current_path(oldFolder_);
    PlayTest::TearDown();
  }
  std::filesystem::path oldFolder_;
  bool haveData_ = false;
};

TEST_F(PlaySteady, ASteadyFrameOpensNoFileAndRendersNoGlyph) {
  if (!haveData_) GTEST_SKIP() << "the game folder has not been made";
  game.menu.currentLevel = 1;
  game.players.levelsReached[0] = 1;
  game.program.musicTrack = -1;
  game.easel.carriedSlotCount = 10;
  game.render.speakerColours = {RgbColour(255, 255, 255), 1, 2, 3, 4, 5, 6, 7,
                                RgbColour(255, 200, 55)};
  ASSERT_EQ(StartLevel(game), Screen::kRunLevel);
  MoveTo(kWidth / 2, kHeight / 2);
  Passes(5);
  const uint64_t opens = FileOpenCount();
  const uint64_t glyphs = GlyphRenderCount();
  Passes(30);
  EXPECT_EQ(FileOpenCount(), opens);
  EXPECT_EQ(GlyphRenderCount(), glyphs);
}

}  // namespace
}  // namespace qm::test
