// Piece values, the PieceBag and the Easel.
#include <gtest/gtest.h>

#include <numeric>

#include "RulesFixture.hpp"
#include "engine/Random.hpp"
#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Easel.hpp"

namespace qm {
namespace {

using namespace test;  // the rules fixture

TEST(PieceValues, ByLetterAndMaterial) {
  EaselState easel;
  BuildPieceTables(easel);
  struct Case {
    char letter;
    int material;
    int value;
  };
  const Case cases[] = {{'q', kBronze, 20}, {'q', kGold, 80},   {'e', kDiamond, 90},
                        {'e', kPlastic, 1}, {'a', kPlastic, 1}, {'z', kSilver, 40},
                        {'k', kBronze, 10}, {'x', kGold, 64},   {'d', kPlastic, 2},
                        {'j', kDiamond, 90}};
  for (const Case& c : cases) {
    EXPECT_EQ(easel.pieceValue[test::P(c.letter, c.material)], c.value)
        << c.letter << " " << c.material;
  }
  EXPECT_EQ(easel.pieceValue[kEmptySlot], 126);  // empty slots sort after every Piece
  EXPECT_EQ(std::accumulate(easel.letterFrequency.begin(), easel.letterFrequency.end(), 0), 98);
  EXPECT_EQ(easel.letterFrequency[5], 12);  // E
  EXPECT_EQ(easel.letterFrequency[26], 1);  // Z
}

TEST(PieceCodes, LetterAndMaterial) {
  EXPECT_EQ(LetterIndexOf(1), 0);
  EXPECT_EQ(MaterialOf(27), kBronze);
  EXPECT_EQ(LetterIndexOf(130), 25);
  EXPECT_EQ(MaterialOf(130), kDiamond);
  EXPECT_EQ(PieceCodeOf(0, kBronze), 27);
  EXPECT_FALSE(IsPieceCode(0));
  EXPECT_FALSE(IsPieceCode(131));
  EXPECT_FALSE(IsPieceCode(kEmptySlot));
}

// The Material of each Piece rises step by step while each draw is not greater than the
// valuable chance: RandomUpTo 100, then 110, 120 and 130.
std::vector<int16_t> ExpectedBag(uint32_t seed, int chance) {
  SeedRandom(seed);
  std::vector<int16_t> bag;
  const int counts[26] = {9, 2, 2, 4, 12, 2, 3, 2, 9, 1, 1, 4, 2,
                          6, 8, 2, 1, 6,  4, 6, 4, 2, 2, 1, 2, 1};
  for (int letter = 0; letter < 26; ++letter) {
    for (int copy = 0; copy < counts[letter]; ++copy) {
      int material = 0;
      if (RandomUpTo(100) <= chance) {
        material = 1;
        if (RandomUpTo(110) <= chance) {
          material = 2;
          if (RandomUpTo(120) <= chance) {
            material = 3;
            if (RandomUpTo(130) <= chance) material = 4;
          }
        }
      }
      bag.push_back(PieceCodeOf(letter, material));
    }
  }
  return bag;
}

TEST(FillPieceBag, MaterialDrawsFollowTheValuableChance) {
  for (int chance : {0, 20, 50, 100}) {
    for (uint32_t seed : {1u, 77u, 123456u}) {
      EaselState easel;
      BuildPieceTables(easel);
      easel.valuableChance = static_cast<int8_t>(chance);
      SeedRandom(seed);
      FillPieceBag(easel);
      std::vector<int16_t> expected = ExpectedBag(seed, chance);
      ASSERT_EQ(easel.bag[0], 98);
      std::vector<int16_t> got(easel.bag.begin() + 1, easel.bag.begin() + 99);
      EXPECT_EQ(got, expected) << "chance " << chance << " seed " << seed;
      if (chance == 100) {
        for (int16_t code : got) EXPECT_GE(MaterialOf(code), kBronze);
      }
    }
  }
}

TEST(FillPieceBag, StopsAtFifteenHundred) {
  struct Case {
    int before;
    int after;
  };
  for (Case c : {Case{0, 98}, Case{1499, 1597}, Case{1500, 1500}, Case{1600, 1600}}) {
    EaselState easel;
    BuildPieceTables(easel);
    easel.bag[0] = static_cast<int16_t>(c.before);
    FillPieceBag(easel);
    EXPECT_EQ(easel.bag[0], c.after) << c.before;
  }
  EaselState easel;
  BuildPieceTables(easel);
  for (int i = 0; i < 30; ++i) FillPieceBag(easel);
  EXPECT_EQ(easel.bag[0], 98 * 16);  // the 17th bag finds 1568 Pieces and is refused
}

TEST(DrawFromBag, TakesTheDrawnEntryAndMovesTheLastIntoItsPlace) {
  EaselState easel;
  for (int i = 1; i <= 5; ++i) easel.bag[i] = static_cast<int16_t>(10 * i);
  easel.bag[0] = 5;
  SeedRandom(99);
  int j = static_cast<int>(RandomUpTo(4)) + 1;
  SeedRandom(99);
  EXPECT_EQ(DrawFromBag(easel), 10 * j);
  EXPECT_EQ(easel.bag[0], 4);
  EXPECT_EQ(easel.bag[5], 0);
  if (j != 5) {
    EXPECT_EQ(easel.bag[j], 50);
  }

  EaselState single;
  single.bag[1] = 42;
  single.bag[0] = 1;
  EXPECT_EQ(DrawFromBag(single), 42);
  EXPECT_EQ(single.bag[0], 0);
  EXPECT_EQ(single.bag[1], 0);
  EXPECT_EQ(DrawFromBag(single), kEmptySlot);  // an empty bag gives nothing
  EXPECT_EQ(single.bag[0], 0);
}

TEST(RefillEasel, FillsEmptySlotsInOrderWhileTheBagLasts) {
  auto game = MakeGame(3, 3, {kEmptySlot, 5, kEmptySlot, kEmptySlot});
  game->easel.bag[1] = 7;
  game->easel.bag[2] = 7;
  game->easel.bag[0] = 2;
  RefillEasel(game->easel);
  EXPECT_EQ(game->easel.slots[1], 7);
  EXPECT_EQ(game->easel.slots[2], 5);
  EXPECT_EQ(game->easel.slots[3], 7);
  EXPECT_EQ(game->easel.slots[4], kEmptySlot);
  EXPECT_EQ(game->easel.bag[0], 0);
}

TEST(DealEasel, EverySlotDraws) {
  auto game = MakeGame(3, 3, std::vector<int16_t>(10, kEmptySlot));
  game->easel.valuableChance = 50;
  FillPieceBag(game->easel);
  DealEasel(game->easel);
  EXPECT_EQ(game->easel.bag[0], 88);
  for (int k = 1; k <= 10; ++k) EXPECT_TRUE(IsPieceCode(game->easel.slots[k])) << k;
}

TEST(ReturnLaidPieces, PiecesGoToTheLowestFreeSlots) {
  auto game = MakeGame(6, 2, {1, 2, 3, 4, 5, 6, 7, 8});
  SetCellCode(game->board, 1, 1, 193);
  Lay(*game, 0, 0, 7);  // from slot 7, entry 1
  Lay(*game, 1, 1, 2);  // from slot 2, entry 2
  Lay(*game, 2, 2, 5);  // from slot 5, entry 3
  ReturnLaidPieces(*game);
  EXPECT_EQ(game->easel.slots[2], 7);  // entry 1
  EXPECT_EQ(game->easel.slots[5], 2);  // entry 2
  EXPECT_EQ(game->easel.slots[7], 5);  // entry 3
  EXPECT_EQ(CellCode(game->board, 0, 0), 157);
  EXPECT_EQ(CellCode(game->board, 1, 1), 193);
  EXPECT_EQ(CellCode(game->board, 2, 2), 157);
  EXPECT_EQ(LaidPieceCount(game->easel), 0);
}

TEST(LayOutEasel, PositionFromTheSlotCount) {
  struct Case {
    int slots;
    int left;
    int right;
  };
  for (Case c : {Case{18, 44, 979}, Case{10, 252, 771}, Case{6, 356, 667}}) {
    EaselState easel;
    easel.slots[0] = static_cast<int16_t>(c.slots);
    LayOutEasel(easel, 900);
    EXPECT_EQ(easel.left, c.left);
    EXPECT_EQ(easel.right, c.right);
    EXPECT_EQ(easel.top, 838);
    EXPECT_EQ(easel.bottom, 900);
  }
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

TEST(DrawEasel, RedrawsSprite1200WithTheValueLabels) {
  SetHeadlessScreenSize(1024, 768);
  ASSERT_NE(OpenGameScreen("rules"), 0);
  auto game = test::MakeGame(3, 3, {test::P('q', kGold), kEmptySlot, 1, 2, 3, 4, 5, 6, 7, 8});
  ClearFrame(0);
  game->easel.framePatch = EaselFramePatch{true, game->easel.left, game->easel.top, 10};
  DrawEasel(*game);
  const EaselState& easel = game->easel;
  EXPECT_FALSE(easel.framePatch.pending);  // patched once, before the redraw
  EXPECT_EQ(SpriteWidthOf(kEaselSprite), 10 * 52 + 26);
  EXPECT_EQ(SpriteHeightOf(kEaselSprite), 768 - easel.top + 5);
  // Every label place is blanked on RGB(0, 1, 0); a Piece's value is written over it.
  auto labelPixels = [&](int slot) {
    std::vector<uint32_t> pixels;
    for (int dx = 0; dx < 12; ++dx) {
      for (int dy = 0; dy < 8; ++dy)
        pixels.push_back(
            ReadBackPixel(easel.left + (slot - 1) * 52 + 38 + dx, easel.top + 53 + dy));
    }
    return pixels;
  };
  auto has = [](const std::vector<uint32_t>& pixels, auto test) {
    for (uint32_t p : pixels) {
      if (test(p)) return true;
    }
    return false;
  };
  auto isBack = [](uint32_t p) { return p == 0x000100; };
  auto isLabel = [](uint32_t p) {
    return (p & 0xff) > 100 && ((p >> 16) & 0xff) > 100;
  };  // 80 + 100 blue
  EXPECT_TRUE(has(labelPixels(1), isBack));
  EXPECT_TRUE(has(labelPixels(1), isLabel));
  EXPECT_TRUE(has(labelPixels(2), isBack));
  EXPECT_FALSE(has(labelPixels(2), isLabel));
  FreeSpriteImage(-1);
  CloseGameScreen();
}

}  // namespace
}  // namespace qm
