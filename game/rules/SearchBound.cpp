#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "game/rules/LineWalk.hpp"
#include "game/rules/SearchWeights.hpp"

namespace qm::search {

// Each term is the best case of what the value of a move found below this cell counts, and
// WeighMove grows with every one of them, so the moves kept are exactly the same.
bool LineSearch::CannotBeat(int i, int left, const Partial& part) const {
  const Ahead& a =
      ahead[static_cast<size_t>(i) * (kMostPiecesPerMove + 1) + static_cast<size_t>(left)];
  if (part.end || a.end) return false;  // the end box outweighs everything
  const Needs& needs = scene.needs;
  MoveTerms best;
  // The open cells ahead take distinct Pieces: at most the best few, on the best multiplier.
  const int64_t ahead = a.fixed + topValues[static_cast<size_t>(a.opens)] * a.maxTimes;
  best.points = (part.sum + ahead) * part.factor * a.factor + part.cross + a.cross;
  const int minDist = std::min(part.minDist, a.minDist);
  if (minDist < kFar)
    best.progress =
        scene.frontier < kFar ? std::max(1.0, static_cast<double>(scene.frontier - minDist)) : 1.0;
  // Each word counts once for the objectives; a word of one Material needs a new Piece of it.
  const int words = part.words + a.words;
  int materialLeft = 0;
  for (int m = 0; m < 3; ++m)
    materialLeft += scene.rackByMaterial[m + 2] > 0 ? needs.materialLeft[m] : 0;
  best.objectiveWords = std::min(needs.wordsLeft, words);
  best.materialWords = std::min(materialLeft, words);
  best.effects = part.effects + a.effects;
  best.pieces = placedCount;  // the move lays these and more
  double bound = WeighMove(needs, BagLeft(scene.game), best);
  bound += 1.0 + std::abs(bound) * 1e-9;  // rounding of the sums above
  return bound <= top.Threshold();
}

void LineSearch::GatherBounds() {
  const size_t size = line.size();
  int64_t best = 0;
  letterBest.fill(0);
  for (int letter = 0; letter < 26; ++letter) {
    for (int16_t c : scene.rackByLetter[letter]) {
      letterBest[letter] = std::max<int64_t>(letterBest[letter], scene.game.easel.pieceValue[c]);
    }
    best = std::max(best, letterBest[letter]);
  }
  cellTimes.assign(size, 1);
  std::vector<int64_t> values;
  for (int letter = 0; letter < 26; ++letter) {
    for (int16_t c : scene.rackByLetter[letter]) values.push_back(scene.game.easel.pieceValue[c]);
  }
  std::sort(values.begin(), values.end(), std::greater<>());
  topValues.fill(0);
  for (size_t k = 1; k < topValues.size(); ++k) {
    topValues[k] = topValues[k - 1] + (k <= values.size() ? values[k - 1] : 0);
  }
  cellFactor.assign(size, 1);
  crossBest.assign(size, 0);
  crossWords.assign(size, 0);
  effectBest.assign(size, 0);
  distAt.assign(size, kFar);
  const BoardState& board = scene.game.board;
  for (size_t i = 0; i < size; ++i) {
    if (kind[i] != kOpenCell) continue;
    const int16_t under = code[i];
    const int64_t times = IsLetterMultiplier(under) ? LetterFactorOf(under) : 1;
    const int64_t factor = IsWordMultiplier(under) ? WordFactorOf(under) : 1;
    cellTimes[i] = times;
    cellFactor[i] = factor;
    for (int slot = 0; slot < 2; ++slot) {
      const CrossSide& side = cross[i * 2 + static_cast<size_t>(slot)];
      if (side.count == 0) continue;
      crossBest[i] += (side.sum + best * times) * factor;
      ++crossWords[i];
    }
    effectBest[i] = std::max(0.0, EffectValueAt(i));
    distAt[i] = scene.dist[Index(board, line[i].column, line[i].row)];
  }
  const size_t width = kMostPiecesPerMove + 1;
  ahead.assign(size * width, Ahead{});
  for (size_t i = 0; i < size; ++i) {
    if (kind[i] != kOpenCell) continue;
    Ahead run;
    int opens = 0;
    for (size_t j = i;; ++j) {
      const bool stop = j == size || kind[j] == kBlockedCell ||
                        (kind[j] == kOpenCell && opens == kMostPiecesPerMove);
      if (stop || (kind[j] == kOpenCell && opens >= 1)) {
        for (int r = opens; r <= (stop ? kMostPiecesPerMove : opens); ++r)
          ahead[i * width + static_cast<size_t>(r)] = run;
      }
      if (stop) break;
      if (kind[j] == kOpenCell) {
        ++opens;
        run.opens = opens;
        run.maxTimes = std::max(run.maxTimes, cellTimes[j]);
        run.factor *= cellFactor[j];
        run.cross += crossBest[j];
        run.effects += effectBest[j];
        run.words += crossWords[j];
        run.minDist = std::min(run.minDist, distAt[j]);
        run.end = run.end || code[j] == kEndBox;
      } else {
        run.fixed += scene.game.easel.pieceValue[code[j]];
      }
    }
  }
}

double LineSearch::EffectValueAt(size_t i) const {
  return EffectValue(scene, code[i], line[i], 1);
}

}  // namespace qm::search
