// The bot's move search: the quick path that skips moves which cannot be among the best must
// keep exactly the moves the full search keeps, on real levels and the large Board.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/Files.hpp"
#include "engine/Random.hpp"
#include "game/GameState.hpp"
#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Hint.hpp"
#include "game/rules/Lexicon.hpp"
#include "game/rules/MoveSearch.hpp"
#include "game/rules/Validate.hpp"

namespace qm::test {
namespace {

const Lexicon& GameLexicon() {
  static const Lexicon* lexicon = [] {
    auto* loaded = new Lexicon;
    EXPECT_TRUE(loaded->Load(std::string(QM_DATA_DIR) + "/dico-english"));
    return loaded;
  }();
  return *lexicon;
}

std::unique_ptr<GameState> StartOn(const std::string& map, int level, int slots) {
  auto game = std::make_unique<GameState>();
  game->program.screenWidth = 1024;
  game->program.screenHeight = 768;
  game->menu.currentLevel = level;
  game->players.levelsReached[0] = 1;
  if (ReadLevelFile(game->board, map, 1, 1024, 768) != LevelRead::kRead) return nullptr;
  BuildPieceTables(game->easel);
  game->easel.carriedSlotCount = static_cast<int16_t>(slots);
  ResetLevelRules(*game);
  LayOutEasel(game->easel, 768);
  return game;
}

void ExpectSameMoves(const std::vector<Candidate>& full, const std::vector<Candidate>& quick,
                     const std::string& where) {
  ASSERT_EQ(full.size(), quick.size()) << where;
  for (size_t k = 0; k < full.size(); ++k) {
    EXPECT_EQ(full[k].word, quick[k].word) << where << " move " << k;
    EXPECT_EQ(full[k].points, quick[k].points) << where << " move " << k;
    EXPECT_EQ(full[k].value, quick[k].value) << where << " move " << k;
    ASSERT_EQ(full[k].pieces.size(), quick[k].pieces.size()) << where << " move " << k;
    for (size_t j = 0; j < full[k].pieces.size(); ++j) {
      EXPECT_EQ(full[k].pieces[j].column, quick[k].pieces[j].column) << where;
      EXPECT_EQ(full[k].pieces[j].row, quick[k].pieces[j].row) << where;
      EXPECT_EQ(full[k].pieces[j].code, quick[k].pieces[j].code) << where;
    }
  }
}

TEST(MoveSearchTest, SkippingHopelessMovesKeepsTheSameBestMoves) {
  MapGameFolder("dico-english", std::string(QM_DATA_DIR) + "/dico-english");
  struct Case {
    std::string map;
    int level;
    int slots;
    int turns = 4;
  };
  std::vector<Case> cases = {{std::string(QM_DATA_DIR) + "/maps/1", 1, 10},
                             {std::string(QM_DATA_DIR) + "/maps/12", 12, 18},
                             {std::string(QM_DATA_DIR) + "/maps/30", 30, 14},
                             {std::string(QM_DATA_DIR) + "/maps/44", 44, 18}};
  const std::string large = std::string(QM_BINARY_DIR) + "/bench/maps/1";
  if (std::filesystem::exists(large)) cases.push_back({large, 1, 18, 2});
  int compared = 0;
  for (const Case& c : cases) {
    SeedRandom(static_cast<uint32_t>(c.level * 7 + c.slots));
    std::unique_ptr<GameState> game = StartOn(c.map, c.level, c.slots);
    ASSERT_NE(game, nullptr) << c.map;
    const BoardLines lines = BuildLines(game->board);
    // A few turns of the bot's own play, comparing both searches before each.
    for (int turn = 0; turn < c.turns && game->play.endTick == 0; ++turn) {
      const Needs needs = JudgeNeeds(*game, c.level);
      std::vector<uint8_t> coverable(game->board.cells.size(), 0);
      SearchOptions fullSearch;
      fullSearch.coverable = &coverable;
      std::vector<Candidate> full = FindMoves(*game, lines, GameLexicon(), needs, fullSearch);
      std::vector<Candidate> quick = FindMoves(*game, lines, GameLexicon(), needs, SearchOptions{});
      ExpectSameMoves(full, quick, c.map + " turn " + std::to_string(turn));
      ++compared;
      if (full.empty()) break;
      for (const Placement& p : full.front().pieces) {
        ASSERT_TRUE(LayPiece(*game, SlotHolding(game->easel, p.code), p.column, p.row))
            << "code " << p.code << " at " << p.column << "," << p.row;
      }
      ValidateMove(*game);
      EXPECT_TRUE(game->move.accepted) << c.map << " turn " << turn << ": " << full.front().word;
    }
  }
  EXPECT_GE(compared, 12);
  MapGameFolder("dico-english", "");
}

}  // namespace
}  // namespace qm::test
