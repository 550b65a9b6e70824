// An accepted turn: the effects of the covered cells, the score, the refill and the records.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "RulesFixture.hpp"
#include "engine/Random.hpp"
#include "game/rules/Effects.hpp"
#include "game/rules/Validate.hpp"

namespace qm {
namespace {

using namespace test;  // the rules fixture

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

// The move "at": a on the start box at (2, 2), t on the effect cell at (3, 2), worth 2.
struct AtMove {
  std::unique_ptr<GameState> game;
  explicit AtMove(int16_t effect,
                  std::vector<int16_t> easel = {P('a'), P('t'), P('e'), P('e'), P('e'), P('e')}) {
    game = MakeGame(7, 5, std::move(easel));
    SetCellCode(game->board, 2, 2, 218);
    SetCellCode(game->board, 3, 2, effect);
  }
  void Play() {
    Lay(*game, 2, 2, P('a'));
    Lay(*game, 3, 2, P('t'));
    ValidateMove(*game);
    ASSERT_TRUE(game->move.accepted) << game->status.text;
  }
};

const std::string kAtText = " at : 2 - TOTAL : 2 pts ";

TEST(CellEffects, ScorePercentagesActOnTheScoreBeforeTheMove) {
  Dictionary dictionary({"at"});
  struct Case {
    int16_t cell;
    int8_t bonus;
    int64_t score;
    int64_t after;  // the move's 2 points included
    std::string text;
  };
  const Case cases[] = {
      {201, 0, 1000, 1040 + 2, ":: Score +4% "},
      {200, 0, 1000, 1020 + 2, ":: Score +2% "},
      {202, 0, 1000, 1060 + 2, ":: Score +6% "},
      {203, 0, 1000, 1050 + 2, ":: Score +5% "},
      {205, 0, 1000, 1150 + 2, ":: Score +15% "},
      {201, 0, 0, 2, ":: Score +4% "},
      {208, 0, 0, 2, ":: Score -15% "},
      {201, 0, 99, 99 + 3 + 2, ":: Score +4% "},     // 3.96 truncates to 3
      {206, 0, 999, 999 - 49 + 2, ":: Score -5% "},  // 49.95 truncates to 49
      {207, 5, 1000, 850 + 2, ":: Score -15% "},
      {206, 0, -999, -999 + 49 + 2, ":: Score -5% "},  // toward zero for a negative score
      {201, 0, -999, -999 - 39 + 2, ":: Score +4% "},
      {205, 0, kMax, kMax, ":: Score +15% "},  // stays at the top, never wraps
      {201, 0, kMin, kMin + 2, ":: Score +4% "},
      {206, -128, kMax, kMax, ":: Score --123% "},  // a negative bonus turns it into a rise
      {221, 0, 1000, 1102, ":: +100 points "},
      {221, 0, kMax - 50, kMax, ":: +100 points "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "cell " << c.cell << " score " << c.score);
    AtMove move(c.cell);
    move.game->players.scores[0] = c.score;
    move.game->players.effectBonus[0] = c.bonus;
    move.Play();
    EXPECT_EQ(move.game->players.scores[0], c.after);
    EXPECT_EQ(move.game->status.text, kAtText);
    EXPECT_EQ(move.game->chat.moveHistory[0].text, kAtText + c.text);
  }
}

TEST(ScoreArithmetic, SaturatesInsteadOfWrapping) {
  EXPECT_EQ(AddScore(kMax, 1), kMax);
  EXPECT_EQ(AddScore(kMin, -1), kMin);
  EXPECT_EQ(MultiplyScore(kMax / 2, 3), kMax);
  EXPECT_EQ(MultiplyScore(kMin, -1), kMax);
  EXPECT_EQ(PercentOfScore(kMax, 15), static_cast<int64_t>(static_cast<__int128>(kMax) * 15 / 100));
  EXPECT_EQ(PercentOfScore(kMin, 200), kMin);
  EXPECT_EQ(PercentOfScore(-7, 50), -3);
}

TEST(CellEffects, KeysOpenTheirLocksOnly) {
  Dictionary dictionary({"at"});
  struct Case {
    int16_t key;
    int16_t opened;
  };
  for (Case c : {Case{235, 145}, Case{236, 146}, Case{237, 147}}) {
    AtMove move(c.key);
    for (int16_t lock : {145, 146, 147}) {
      SetCellCode(move.game->board, lock - 145, 5, lock);
      SetCellCode(move.game->board, lock - 140, 0, lock);
    }
    move.Play();
    for (int16_t lock : {145, 146, 147}) {
      int16_t expected = lock == c.opened ? 161 : lock;
      EXPECT_EQ(CellCode(move.game->board, lock - 145, 5), expected) << c.key;
      EXPECT_EQ(CellCode(move.game->board, lock - 140, 0), expected) << c.key;
    }
    EXPECT_EQ(move.game->chat.moveHistory[0].text, kAtText);
  }
}

TEST(CellEffects, MechanismChanceWithTheEffectBonus) {
  Dictionary dictionary({"at"});
  // Walls on every neighbour of (3, 2) but the a at (2, 2), visited in this order.
  const CellPos kAround[] = {{4, 2}, {3, 1}, {2, 1}, {3, 3}, {2, 3}};
  struct Case {
    int16_t mechanism;
    int8_t bonus;
    int chance;
  };
  const Case cases[] = {{212, 0, 20}, {213, 0, 40}, {214, 0, 60}, {213, 5, 50}, {214, 10, 80}};
  for (const Case& c : cases) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
      SCOPED_TRACE(testing::Message() << "mechanism " << c.mechanism << " seed " << seed);
      AtMove move(c.mechanism);
      move.game->players.effectBonus[0] = c.bonus;
      for (CellPos wall : kAround) SetCellCode(move.game->board, wall.column, wall.row, 131);
      SetCellCode(move.game->board, 4, 1, 131);  // not a neighbour: never falls
      SeedRandom(seed);
      move.Play();
      SeedRandom(seed);
      for (CellPos wall : kAround) {
        int16_t expected =
            RandomUpTo(100) <= c.chance ? static_cast<int16_t>(161 + RandomUpTo(3)) : 131;
        EXPECT_EQ(CellCode(move.game->board, wall.column, wall.row), expected);
      }
      EXPECT_EQ(CellCode(move.game->board, 4, 1), 131);
    }
  }
}

TEST(CellEffects, MechanismNeighboursAtTheEdgesAndWhatFalls) {
  struct Case {
    CellPos at;
    std::vector<CellPos> around;
  };
  const Case cases[] = {
      {{0, 1}, {{1, 1}, {0, 0}, {1, 0}, {0, 2}, {1, 2}}},  // odd row: the upper-right pair
      {{0, 2}, {{1, 2}, {0, 1}, {0, 3}}},                  // even row: left diagonals skipped
      {{3, 0}, {{2, 0}, {3, 1}, {2, 1}}},                  // top right corner
      {{2, 3}, {{1, 3}, {3, 3}, {2, 2}, {3, 2}, {2, 4}, {3, 4}}},
  };
  for (const Case& c : cases) {
    auto game = MakeGame(3, 4, {P('a')}, 140);  // every cell a wall
    game->players.effectBonus[0] = 40;          // chance 140: every wall falls
    RunMechanism(*game, c.at.column, c.at.row, 214);
    for (int col = 0; col <= 3; ++col) {
      for (int row = 0; row <= 4; ++row) {
        bool near = false;
        for (CellPos pos : c.around) near = near || (pos.column == col && pos.row == row);
        int16_t code = CellCode(game->board, col, row);
        if (near) {
          EXPECT_GE(code, 161) << col << "," << row;
          EXPECT_LE(code, 164) << col << "," << row;
        } else {
          EXPECT_EQ(code, 140) << col << "," << row;
        }
      }
    }
  }
  // Only walls, locked walls and plain cells 131..156 fall; a negative chance lowers nothing.
  auto game = MakeGame(2, 2, {P('a')});
  const int16_t codes[] = {131, 147, 156, 157, 130, 212};
  const CellPos around[] = {{0, 1}, {2, 1}, {1, 0}, {2, 0}, {1, 2}, {2, 2}};
  for (int i = 0; i < 6; ++i) SetCellCode(game->board, around[i].column, around[i].row, codes[i]);
  game->players.effectBonus[0] = -60;
  RunMechanism(*game, 1, 1, 212);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(CellCode(game->board, around[i].column, around[i].row), codes[i]);
  game->players.effectBonus[0] = 50;
  RunMechanism(*game, 1, 1, 212);
  for (int i = 0; i < 6; ++i) {
    int16_t code = CellCode(game->board, around[i].column, around[i].row);
    if (codes[i] <= 156 && codes[i] >= 131) {
      EXPECT_GE(code, 161);
    } else {
      EXPECT_EQ(code, codes[i]);
    }
  }
}

TEST(CellEffects, BagAddsPiecesWithItsValuableChance) {
  Dictionary dictionary({"at"});
  for (int16_t cell : {215, 216, 217}) {
    AtMove move(cell);
    move.game->easel.bag[0] = 10;
    for (int i = 1; i <= 10; ++i) move.game->easel.bag[i] = P('e');
    move.Play();
    EXPECT_EQ(move.game->easel.valuableChance, (cell - 214) * 20);
    EXPECT_EQ(move.game->easel.bag[0], 10 + 98 - 2);  // two slots refilled
    EXPECT_EQ(move.game->chat.moveHistory[0].text, kAtText + ":: +1 bag ");
  }
}

TEST(CellEffects, MagicCompartmentFillsItsGroupWithGold) {
  Dictionary dictionary({"at"});
  AtMove move(233);
  SetCellCode(move.game->board, 6, 0, 233);
  SetCellCode(move.game->board, 0, 5, 233);
  SetCellCode(move.game->board, 7, 5, 232);
  move.Play();
  for (CellPos pos : {CellPos{6, 0}, CellPos{0, 5}}) {
    int16_t code = CellCode(move.game->board, pos.column, pos.row);
    EXPECT_EQ(MaterialOf(code), kGold) << code;
    EXPECT_TRUE(IsPieceCode(code));
  }
  EXPECT_EQ(CellCode(move.game->board, 7, 5), 232);
  EXPECT_EQ(CellCode(move.game->board, 3, 2), P('t'));
}

TEST(CellEffects, StarsTurnTheEaselIntoOneMaterialButDiamonds) {
  Dictionary dictionary({"at"});
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    AtMove move(226,
                {P('a'), P('t'), P('e', kDiamond), P('b', kGold), P('c', kGold), P('d', kSilver)});
    move.game->easel.bag[0] = 1;
    move.game->easel.bag[1] = P('z', kGold);  // dealt by the refill, converted too
    SeedRandom(seed);
    move.Play();
    SeedRandom(seed);
    int material = static_cast<int>(RandomUpTo(2)) + 1;
    const auto& slots = move.game->easel.slots;
    EXPECT_EQ(slots[1], PieceCodeOf('z' - 'a', material));
    EXPECT_EQ(slots[2], kEmptySlot);
    EXPECT_EQ(slots[3], P('e', kDiamond));
    EXPECT_EQ(slots[4], PieceCodeOf('b' - 'a', material));
    EXPECT_EQ(slots[5], PieceCodeOf('c' - 'a', material));
    EXPECT_EQ(slots[6], PieceCodeOf('d' - 'a', material));
    EXPECT_EQ(move.game->move.starMaterial, material);
  }
}

// A generated level deals from a stream of its own, and what its cells draw (falling walls,
// star Materials, gold of a compartment, a slot won or lost) comes from that stream too: the
// same moves meet the same luck whatever the game's other random numbers did.
TEST(CellEffects, ALevelWithItsOwnStreamDrawsItsEffectsFromIt) {
  Dictionary dictionary({"at"});
  struct Case {
    const char* what;
    int16_t effect;
  };
  const Case cases[] = {
      {"mechanism", 213}, {"star", 226}, {"compartment", 233}, {"bonus or malus", 220}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto play = [&](uint32_t globalSeed) {
      AtMove move(c.effect, {P('a'), P('t'), P('e', kGold), P('b', kSilver), P('c'), P('d')});
      for (int col = 2; col <= 4; ++col) {
        SetCellCode(move.game->board, col, 1, 131);  // walls for the mechanism to drop
        SetCellCode(move.game->board, col, 3, 131);
      }
      SetCellCode(move.game->board, 6, 0, 233);
      SetCellCode(move.game->board, 0, 5, 233);
      move.game->easel.dealStream.emplace(777);
      SeedRandom(globalSeed);
      move.Play();
      return std::make_tuple(move.game->board.cells, move.game->easel.slots,
                             move.game->players.scores[0], move.game->move.starMaterial);
    };
    const auto first = play(1);
    for (uint32_t seed = 2; seed <= 8; ++seed) EXPECT_TRUE(play(seed) == first) << seed;
  }
}

TEST(CellEffects, BonusMalusWithinSixToEighteenSlots) {
  Dictionary dictionary({"at"});
  struct Case {
    int slots;
    int ifPlus;
    int ifMinus;
  };
  for (Case c : {Case{18, 18, 17}, Case{6, 7, 6}, Case{10, 11, 9}}) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
      SCOPED_TRACE(testing::Message() << c.slots << " slots, seed " << seed);
      std::vector<int16_t> easel(c.slots, P('e'));
      easel[0] = P('a');
      easel[c.slots - 2] = P('t');  // leaves slot n - 1 empty
      easel[c.slots - 1] = P('q');  // slot n holds a Piece
      AtMove move(220, easel);
      SeedRandom(seed);
      move.Play();
      SeedRandom(seed);
      bool plus = RandomUpTo(1) == 1;
      int expected = plus ? c.ifPlus : c.ifMinus;
      EaselState& result = move.game->easel;
      EXPECT_EQ(result.slots[0], expected);
      EXPECT_EQ(result.referenceSlotCount, expected);
      EXPECT_EQ(result.left, 512 - 26 * expected);
      // The Easel picture's frame waits for the play screen, at the position before the change.
      EXPECT_EQ(result.framePatch.pending, expected != c.slots);
      if (result.framePatch.pending) {
        EXPECT_EQ(result.framePatch.left, 512 - 26 * c.slots);
        EXPECT_EQ(result.framePatch.slots, expected);
      }
      std::string text = expected > c.slots   ? ":: An extra piece "
                         : expected < c.slots ? ":: A piece in less "
                                              : "";
      EXPECT_EQ(move.game->chat.moveHistory[0].text, kAtText + text);
      if (expected < c.slots) {
        // The q of the vanished slot moved to the highest empty slot below it.
        EXPECT_EQ(result.slots[c.slots - 1], P('q'));
      }
      int pieces = 0;
      for (int k = 1; k <= result.slots[0]; ++k) pieces += IsPieceCode(result.slots[k]) ? 1 : 0;
      EXPECT_EQ(pieces, c.slots - 2);  // the bag was empty
    }
  }
}

TEST(CellEffects, BonusMalusChangesTheSlotCountOnlyOncePerMove) {
  Dictionary dictionary({"cat"});
  for (uint32_t seed = 1; seed <= 16; ++seed) {
    auto game = MakeGame(
        7, 5, {P('c'), P('a'), P('t'), P('e'), P('e'), P('e'), P('e'), P('e'), P('e'), P('e')});
    SetCellCode(game->board, 1, 2, 220);
    SetCellCode(game->board, 2, 2, 218);
    SetCellCode(game->board, 3, 2, 220);
    Lay(*game, 1, 2, P('c'));
    Lay(*game, 2, 2, P('a'));
    Lay(*game, 3, 2, P('t'));
    SeedRandom(seed);
    ValidateMove(*game);
    ASSERT_TRUE(game->move.accepted);
    int n = game->easel.slots[0];
    EXPECT_TRUE(n == 9 || n == 11) << n;
    const std::string& text = game->chat.moveHistory[0].text;
    int messages = 0;
    for (const char* message : {":: An extra piece ", ":: A piece in less "}) {
      for (size_t at = text.find(message); at != std::string::npos; at = text.find(message, at + 1))
        ++messages;
    }
    EXPECT_EQ(messages, 1) << text;
  }
}

TEST(CellEffects, EndBoxOnlyThroughAnAcceptedMove) {
  Dictionary dictionary({"at"});
  AtMove accepted(219);
  accepted.Play();
  EXPECT_NE(accepted.game->play.endTick, 0u);
  EXPECT_EQ(accepted.game->chat.moveHistory[0].text, kAtText + ":: End of the Game ");

  auto refused = MakeGame(7, 5, {P('a'), P('t')});
  SetCellCode(refused->board, 3, 2, 219);
  Lay(*refused, 2, 2, P('a'));
  Lay(*refused, 3, 2, P('t'));
  ValidateMove(*refused);  // not on the start box: not attached
  EXPECT_FALSE(refused->move.accepted);
  EXPECT_EQ(refused->play.endTick, 0u);
  EXPECT_EQ(CellCode(refused->board, 3, 2), 219);
}

TEST(AcceptMove, RecordsTheMoveRefillsAndRevealsTheFog) {
  Dictionary dictionary({"at"});
  AtMove move(157, {P('a'), P('t'), P('e'), P('e'), P('e'), P('e')});
  GameState& game = *move.game;
  game.board.shadePeriod = 0;  // fog mode
  game.board.shade.assign(game.board.cells.size(), 127);
  game.easel.bag[0] = 3;
  game.easel.bag[1] = game.easel.bag[2] = game.easel.bag[3] = P('o');
  game.render.lastWordColumn[5] = 4;  // left over from the move before
  move.Play();
  EXPECT_EQ(game.players.scores[0], 2);
  EXPECT_EQ(game.move.moveTotal, 2);
  EXPECT_EQ(game.render.lastWordColumn[1], 2);
  EXPECT_EQ(game.render.lastWordRow[1], 2);
  EXPECT_EQ(game.render.lastWordColumn[2], 3);
  EXPECT_EQ(game.render.lastWordRow[2], 2);
  EXPECT_EQ(game.render.lastWordColumn[5], -1);
  EXPECT_EQ(game.board.revealColumn[1], 2);  // (2 + 3) div 2
  EXPECT_EQ(game.board.revealRow[1], 2);
  EXPECT_LT(ShadeOf(game.board, 2, 2), 127);
  EXPECT_EQ(game.easel.slots[1], P('o'));
  EXPECT_EQ(game.easel.slots[2], P('o'));
  EXPECT_EQ(game.easel.bag[0], 1);
  EXPECT_EQ(game.chat.moveHistory[0].text, kAtText);
  EXPECT_EQ(game.chat.moveHistory[0].speaker, 0);
  EXPECT_EQ(game.status.text, kAtText);
}

}  // namespace
}  // namespace qm
