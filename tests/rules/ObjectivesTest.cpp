// Objective progress from accepted words, the panel lines and the tally.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RulesFixture.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Objectives.hpp"
#include "game/rules/Validate.hpp"

namespace qm {
namespace {

using namespace test;  // the rules fixture

TEST(ObjectiveScoreFactor, OneUntilLevel22) {
  const std::pair<int, int64_t> cases[] = {{1, 1}, {22, 1}, {23, 110}, {24, 120}, {44, 320}};
  for (auto [level, factor] : cases) EXPECT_EQ(ObjectiveScoreFactor(level), factor) << level;
}

TEST(ObjectiveProgress, LengthAndMaterialOfEachWord) {
  struct Word {
    int length;
    int material;
  };
  struct Case {
    const char* name;
    std::array<int8_t, 9> targets;  // entries 1..8
    std::vector<Word> words;
    std::array<int8_t, 4> progress;  // entries 1, 3, 5, 7
  };
  const Case cases[] = {
      {"a 4-letter silver word is too short for silver 5 but counts for any 4",
       {0, 1, 4, 1, 5, 0, 0, 0, 0},
       {{4, kSilver}},
       {1, 0, 0, 0}},
      {"two 5-letter words meet 2 words of 5 at once",
       {0, 2, 5, 0, 0, 0, 0, 0, 0},
       {{5, kPlastic}, {5, kBronze}},
       {2, 0, 0, 0}},
      {"counters stop at their targets",
       {0, 2, 2, 1, 2, 0, 0, 0, 0},
       {{3, kSilver}, {3, kSilver}, {4, kSilver}},
       {2, 1, 0, 0}},
      {"mixed and bronze words count only for any Material",
       {0, 5, 2, 5, 2, 5, 2, 5, 2},
       {{3, kMixedMaterial}, {3, kBronze}, {3, kPlastic}},
       {3, 0, 0, 0}},
      {"gold and diamond words count for their own Material",
       {0, 5, 2, 5, 2, 5, 2, 5, 2},
       {{2, kGold}, {6, kDiamond}, {2, kSilver}},
       {3, 1, 1, 1}},
      {"absent objectives count nothing", {0, 0, 2, 0, 2, -1, 2, 0, 0}, {{3, kGold}}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameState game;
    for (int k = 1; k <= 8; ++k) game.board.objectives[k] = c.targets[k];
    for (Word word : c.words) CountWordForObjectives(game, word.length, word.material);
    EXPECT_EQ(game.objectives.progress[1], c.progress[0]);
    EXPECT_EQ(game.objectives.progress[3], c.progress[1]);
    EXPECT_EQ(game.objectives.progress[5], c.progress[2]);
    EXPECT_EQ(game.objectives.progress[7], c.progress[3]);
  }
}

TEST(ObjectiveProgress, EveryFoundWordOfAnAcceptedTurnOnly) {
  Dictionary dictionary({"at", "ta"});
  for (bool attached : {true, false}) {
    auto game = MakeGame(7, 5, {P('a'), P('t')});
    game->board.objectives[1] = 2;
    game->board.objectives[2] = 2;
    SetCellCode(game->board, 2, 2, attached ? P('t') : P('q'));  // cross word ta, or qa unknown
    Lay(*game, 2, 3, P('a'));
    Lay(*game, 3, 3, P('t'));
    ValidateMove(*game);
    EXPECT_EQ(game->move.accepted, attached);
    // The main word and the cross word both count; a refused turn counts nothing.
    EXPECT_EQ(game->objectives.progress[1], attached ? 2 : 0);
  }
}

TEST(TallyObjectives, JudgedAtTheMomentOfTheTally) {
  GameState game;
  game.menu.currentLevel = 23;
  auto& target = game.board.objectives;
  target[1] = 2;
  target[2] = 5;
  target[5] = 1;
  target[6] = 3;
  target[9] = 12;
  target[10] = 3;
  game.objectives.progress[1] = 2;
  game.easel.slots[0] = 12;
  game.players.scores[0] = 329999;
  ObjectiveTally tally = TallyObjectives(game);
  EXPECT_EQ(target[0], 5);  // words, gold words, slots, score, end box
  EXPECT_EQ(game.objectives.progress[0], 2);
  EXPECT_EQ(tally.count, 5);
  EXPECT_EQ(tally.met, 2);
  const std::vector<std::string> marks = {"(2/2)", "(0/0)", "(0/1)", "(0/0)",
                                          "(1/1)", "(0/1)", "(0/1)"};
  for (size_t i = 0; i < marks.size(); ++i) EXPECT_EQ(tally.lines[i].mark, marks[i]) << i;

  game.players.scores[0] = 330000;
  game.play.endTick = 5000;
  TallyObjectives(game);
  EXPECT_EQ(game.objectives.progress[0], 4);

  game.easel.slots[0] = 11;  // the Easel shrank after the objective was met
  TallyObjectives(game);
  EXPECT_EQ(game.objectives.progress[0], 3);
}

TEST(JudgeObjectives, OnlyTheEndBoxAndNothingWritten) {
  GameState game;
  ObjectiveTally tally = JudgeObjectives(game);
  EXPECT_EQ(tally.count, 1);
  EXPECT_EQ(tally.met, 0);
  EXPECT_TRUE(tally.lines[6].present);
  EXPECT_EQ(tally.lines[6].widthEntry, 11);
  game.play.endTick = 1;
  EXPECT_EQ(JudgeObjectives(game).met, 1);
  // Judging alone leaves the counts the level's end reads untouched.
  EXPECT_EQ(game.board.objectives[0], 0);
  EXPECT_EQ(game.objectives.progress[0], 0);
}

TEST(ObjectiveLineTexts, PanelWording) {
  GameState game;
  game.menu.currentLevel = 23;
  auto& target = game.board.objectives;
  target[1] = 2;
  target[2] = 5;
  target[3] = 1;
  target[4] = 4;
  target[7] = 3;
  target[8] = 2;
  target[9] = 12;
  target[10] = 3;
  std::vector<std::pair<int, std::string>> expected = {
      {1, "- Make 2 word(s) at least 5 letters "},
      {3, "- Make 1 word(s) of silver at least 4 letters "},
      {7, "- Make 3 word(s) of diamond at least 2 letters "},
      {9, "- Have at least 12 locations on your easel "},
      {10, "- Have at least 330000 points "},
      {11, "- Touch the box 'Fin' "},
  };
  EXPECT_EQ(ObjectiveLineTexts(game), expected);
  game.menu.currentLevel = 5;
  target[10] = 3;
  EXPECT_EQ(ObjectiveLineTexts(game)[4].second, "- Have at least 3000 points ");
}

TEST(DrawObjectivesPanel, ComposesSprite1111WithItsLineWidths) {
  SetHeadlessScreenSize(1024, 768);
  ASSERT_NE(OpenGameScreen("rules"), 0);
  GameState game;
  game.menu.currentLevel = 3;
  game.board.title = "Test";
  game.board.objectives[1] = 2;
  game.board.objectives[2] = 3;
  game.board.objectives[9] = 10;
  DrawObjectivesPanel(game);
  EXPECT_EQ(SpriteWidthOf(kResultPanelSprite), 700);
  EXPECT_EQ(SpriteHeightOf(kResultPanelSprite), 110 + 3 * 16 + 40);
  EXPECT_GT(game.objectives.lineWidths[1], 0);
  EXPECT_GT(game.objectives.lineWidths[9], game.objectives.lineWidths[11]);
  EXPECT_EQ(game.objectives.lineWidths[3], 0);
  CountObjectivesMet(game, 45, 50);
  EXPECT_EQ(game.board.objectives[0], 3);  // words, slots, end box: kept as the tally
  EXPECT_EQ(game.objectives.progress[0], 0);
  // The mark of the first line is drawn after it, in red while unmet.
  bool red = false;
  for (int dx = 0; dx < 30 && !red; ++dx) {
    for (int dy = 0; dy < 14 && !red; ++dy) {
      uint32_t pixel = ReadBackPixel(45 + game.objectives.lineWidths[1] + 160 + dx, 50 + 126 + dy);
      red = ((pixel >> 16) & 0xff) > 150 && ((pixel >> 8) & 0xff) < 60;
    }
  }
  EXPECT_TRUE(red);
  FreeSpriteImage(-1);
  CloseGameScreen();
}

}  // namespace
}  // namespace qm
