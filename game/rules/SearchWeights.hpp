#pragma once
// What a move is worth to the search. The value of a move and the pruning bound both weigh
// their terms with WeighMove: the bound gives it each term at its best, so it can never fall
// below the value of a move it skips.
#include <algorithm>
#include <cstdint>

#include "game/GameState.hpp"
#include "game/rules/MoveSearch.hpp"

namespace qm::search {

constexpr double kPointWeight = 1;            // per point of the move's words
constexpr double kScorePointWeight = 3;       // the same while a score objective stands
constexpr double kProgressWeight = 40;        // per step nearer the goal
constexpr double kObjectiveWordWeight = 300;  // per word the word objective counts
constexpr double kMaterialWordWeight = 900;   // per word of a Material an objective asks for
constexpr double kPieceCost = 1;              // per Piece laid: short moves that do as much win
constexpr double kScarcePieceCost = 500;      // more per Piece over (Pieces left in the bag + 10)
constexpr double kEndBoxWeight = 1e7;         // covering the end box outweighs everything

// The terms of one move's value (or, for the bound, their best case).
struct MoveTerms {
  int64_t points = 0;      // the words' points before percentages
  double progress = 0;     // steps gained toward the goal
  int objectiveWords = 0;  // words the word objective still counts
  int materialWords = 0;   // words the Material objectives still count
  double effects = 0;      // the covered cells' effects
  int pieces = 0;          // Pieces laid
};

inline int BagLeft(const GameState& game) {
  return std::max<int>(0, game.easel.bag.empty() ? 0 : game.easel.bag[0]);
}

inline double PointWeightFor(const Needs& needs) {
  return needs.scoreTarget > 0 ? kScorePointWeight : kPointWeight;
}

// Keep Pieces for later, the more so as the PieceBag runs low.
inline double PieceCostFor(int bagLeft) {
  return kPieceCost + kScarcePieceCost / (bagLeft + 10);
}

// Grows with every term but the Pieces laid; without the end box.
inline double WeighMove(const Needs& needs, int bagLeft, const MoveTerms& terms) {
  double value = static_cast<double>(terms.points) * PointWeightFor(needs) +
                 terms.progress * kProgressWeight + terms.objectiveWords * kObjectiveWordWeight +
                 terms.materialWords * kMaterialWordWeight + terms.effects;
  value -= terms.pieces * PieceCostFor(bagLeft);
  return value;
}

}  // namespace qm::search
