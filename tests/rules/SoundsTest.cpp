// The sounds the rules play: refusal, acceptance, the chat verdicts and the description click.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "RulesFixture.hpp"
#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Describe.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Validate.hpp"

namespace qm {
namespace {

using namespace test;  // the rules fixture

class RulesSounds : public testing::Test {
 protected:
  static constexpr int kSlots[] = {0, 2, 3, 12, 16};
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // no sound card needed
    ASSERT_NE(InitSound(), 0);
    // Ten seconds of silence: long enough to be still playing when a test looks.
    test::WriteFile(folder_.Path("silence.wav"),
                    test::WaveBytes(8000, 80000, [](uint32_t) { return int16_t{0}; }));
    for (int slot : kSlots) ASSERT_NE(LoadSoundEffect(slot, folder_.Path("silence.wav")), 0);
  }
  void TearDown() override { ShutdownSound(); }
  static std::vector<int> Playing() {
    std::vector<int> playing;
    for (int slot : kSlots) {
      if (SoundSlotPlaying(slot)) playing.push_back(slot);
    }
    return playing;
  }
  test::TempFolder folder_;
};

TEST_F(RulesSounds, RefusalPlaysThreeAcceptancePlaysTwo) {
  Dictionary dictionary({"at"});
  auto game = MakeGame(7, 5, {P('a'), P('t')});
  ValidateMove(*game);  // nothing laid: no sound
  EXPECT_EQ(Playing(), std::vector<int>{});
  Lay(*game, 2, 2, P('a'));
  Lay(*game, 4, 2, P('t'));
  ValidateMove(*game);
  EXPECT_EQ(Playing(), std::vector<int>{3});
  SetUp();
  SetCellCode(game->board, 2, 2, 218);
  Lay(*game, 2, 2, P('a'));
  Lay(*game, 3, 2, P('t'));
  ValidateMove(*game);
  EXPECT_TRUE(game->move.accepted);
  EXPECT_EQ(Playing(), std::vector<int>{2});
}

TEST_F(RulesSounds, ChatVerdicts) {
  Dictionary dictionary({"cat"});
  GameState game;
  HandleChatLine(game, "Cat");
  EXPECT_EQ(Playing(), std::vector<int>{12});
  SetUp();
  HandleChatLine(game, "Cta");
  EXPECT_EQ(Playing(), std::vector<int>{16});
  SetUp();
  HandleChatLine(game, "~~~");
  EXPECT_EQ(Playing(), std::vector<int>{});
}

TEST_F(RulesSounds, DescriptionClickAtThirtyThousandHertz) {
  GameState game;
  game.status.start = 1;
  game.status.requestCode = 218;
  DescribeCell(game);
  EXPECT_EQ(Playing(), std::vector<int>{0});
  EXPECT_EQ(SoundSlotRate(0), 30000);
}

}  // namespace
}  // namespace qm
