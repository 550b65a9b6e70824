// The pruning bound is admissible only while a move's value grows with every term the bound
// takes at its best and falls with every Piece laid.
#include <gtest/gtest.h>

#include "game/rules/SearchWeights.hpp"

namespace qm::search {
namespace {

TEST(WeighMove, GrowsWithEveryTermAndFallsWithEveryPiece) {
  const MoveTerms base{120, 2, 1, 1, 35.5, 3};
  struct Case {
    const char* term;
    MoveTerms more;
  };
  MoveTerms points = base, progress = base, words = base, material = base, effects = base;
  points.points += 1;
  progress.progress += 1;
  words.objectiveWords += 1;
  material.materialWords += 1;
  effects.effects += 1;
  const Case cases[] = {{"points", points},
                        {"progress", progress},
                        {"objective words", words},
                        {"material words", material},
                        {"effects", effects}};
  for (bool scoreObjective : {false, true}) {
    Needs needs;
    needs.scoreTarget = scoreObjective ? 5000 : 0;
    for (int bag : {0, 40, 1500}) {
      const double value = WeighMove(needs, bag, base);
      for (const Case& c : cases) {
        EXPECT_GT(WeighMove(needs, bag, c.more), value) << c.term << ", bag " << bag;
      }
      MoveTerms fewer = base;
      fewer.pieces -= 1;
      EXPECT_GT(WeighMove(needs, bag, fewer), value) << "pieces, bag " << bag;
    }
  }
}

}  // namespace
}  // namespace qm::search
