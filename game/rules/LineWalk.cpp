#include "game/rules/LineWalk.hpp"

#include <algorithm>

#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"

namespace qm::search {

void LineSearch::Walk(int i, int node, bool anchored, Partial part) {
  const Lexicon& lexicon = scene.lexicon;
  if (i > start && placedCount > 0 && anchored && lexicon.EndsWord(node) &&
      (i == static_cast<int>(line.size()) || kind[i] < 0)) {
    JudgeFound(*this, i - 1);
  }
  if (i == static_cast<int>(line.size())) return;
  int k = kind[i];
  if (k >= 0) {
    int child = lexicon.Child(node, k);
    part.sum += scene.game.easel.pieceValue[code[i]];
    if (child >= 0) Walk(i + 1, child, anchored, part);
    return;
  }
  const int most = std::min(rackSize, kMostPiecesPerMove);
  if (k == kBlockedCell || placedCount == most) return;
  // A word that has not met an anchor yet must still reach one with the Pieces left.
  if (!anchored && placedCount + toAnchor[i] > most) return;
  if (prune && placedCount >= 1 && top.Full() && CannotBeat(i, most - placedCount, part)) return;
  Partial next = part;
  if (prune) {
    next.factor *= cellFactor[i];
    next.effects += effectBest[i];
    next.minDist = std::min(next.minDist, distAt[i]);
    next.end = next.end || code[i] == kEndBox;
  }
  for (uint32_t letters = lexicon.ChildLetters(node); letters != 0; letters &= letters - 1) {
    const int letter = __builtin_ctz(letters);
    if (rack[letter] == 0) continue;
    int child = lexicon.Child(node, letter);
    if (prune) AddPlacedLetter(i, letter, part, next);
    --rack[letter];
    placed[placedCount++] = Placed{i, letter};
    Walk(i + 1, child, anchored || anchor[i], next);
    --placedCount;
    ++rack[letter];
  }
}

void LineSearch::AddPlacedLetter(int i, int letter, const Partial& part, Partial& next) {
  const int64_t value = letterBest[letter] * cellTimes[i];
  next.sum = part.sum + value;
  next.cross = part.cross;
  next.words = part.words;
  for (int slot = 0; slot < 2; ++slot) {
    CrossSide& side = cross[static_cast<size_t>(i) * 2 + static_cast<size_t>(slot)];
    if (side.count == 0 || !CrossIsWord(side, letter)) continue;
    next.cross += (side.sum + value) * cellFactor[i];
    ++next.words;
  }
}

void LineSearch::GatherCrossSides() {
  const BoardState& board = scene.game.board;
  cross.assign(line.size() * 2, CrossSide{});
  crossLetters.clear();
  std::vector<CellPos> before;
  for (size_t i = 0; i < line.size(); ++i) {
    if (kind[i] != kOpenCell) continue;
    int slot = 0;
    for (int other = kFallingDiagonal; other <= kRisingDiagonal; ++other) {
      if (other == axis) continue;
      CrossSide& side = cross[i * 2 + static_cast<size_t>(slot++)];
      side.known.fill(-1);
      auto isPiece = [&](CellPos p) {
        return IsOnBoard(board, p.column, p.row) && HoldsPiece(CellCode(board, p.column, p.row));
      };
      before.clear();
      for (CellPos pos = StepBack(other, line[i]); isPiece(pos); pos = StepBack(other, pos))
        before.push_back(pos);
      int node = scene.lexicon.Root();
      for (auto it = before.rbegin(); it != before.rend(); ++it) {
        int16_t c = CellCode(board, it->column, it->row);
        side.sum += scene.game.easel.pieceValue[c];
        side.material = CombineMaterial(side.material, MaterialOf(c));
        ++side.count;
        if (node >= 0) node = scene.lexicon.Child(node, LetterIndexOf(c));
      }
      side.prefixNode = node;
      side.afterBegin = static_cast<int>(crossLetters.size());
      for (CellPos pos = StepForward(other, line[i]); isPiece(pos); pos = StepForward(other, pos)) {
        int16_t c = CellCode(board, pos.column, pos.row);
        side.sum += scene.game.easel.pieceValue[c];
        side.material = CombineMaterial(side.material, MaterialOf(c));
        ++side.count;
        crossLetters.push_back(LetterIndexOf(c));
      }
      side.afterEnd = static_cast<int>(crossLetters.size());
    }
  }
}

void SearchLine(Scene& scene, const SearchOptions& options, const std::vector<CellPos>& line,
                int axis, const std::array<int, 26>& rack, int rackSize, std::vector<uint8_t>& seen,
                TopMoves& top) {
  const BoardState& board = scene.game.board;
  LineSearch walker{scene, options, line,     axis, {}, {}, {},   {},  {},
                    {},    rack,    rackSize, 0,    {}, 0,  seen, top, options.coverable == nullptr,
                    {},    {},      {},       {},   {}, {}, {},   {},  {}};
  walker.kind.resize(line.size());
  walker.code.resize(line.size());
  walker.anchor.assign(line.size(), false);
  bool anyAnchor = false;
  for (size_t i = 0; i < line.size(); ++i) {
    int16_t code = CellCode(board, line[i].column, line[i].row);
    walker.code[i] = code;
    if (HoldsPiece(code)) {
      walker.kind[i] = LetterIndexOf(code);
    } else if (AcceptsPiece(code) &&
               !(scene.fog && options.visibleOnly &&
                 ShadeOf(board, line[i].column, line[i].row) == kHiddenShade)) {
      walker.kind[i] = kOpenCell;
      if (code == kStartBox) walker.anchor[i] = true;
      if (scene.anyPiece) {
        for (CellPos n : Neighbours(line[i])) {
          if (HoldsPiece(CellCode(board, n.column, n.row))) walker.anchor[i] = true;
        }
      }
      anyAnchor = anyAnchor || walker.anchor[i];
    } else {
      walker.kind[i] = kBlockedCell;
    }
  }
  if (!anyAnchor || rackSize == 0) return;
  walker.toAnchor.assign(line.size() + 1, kFar);
  for (int i = static_cast<int>(line.size()) - 1; i >= 0; --i) {
    if (walker.kind[i] == kBlockedCell) continue;
    int open = walker.kind[i] == kOpenCell ? 1 : 0;
    walker.toAnchor[i] =
        walker.anchor[i] ? 1
                         : (walker.toAnchor[i + 1] >= kFar ? kFar : walker.toAnchor[i + 1] + open);
  }
  walker.GatherCrossSides();
  if (walker.prune) walker.GatherBounds();
  for (int s = 0; s < static_cast<int>(line.size()); ++s) {
    if (walker.kind[s] == kBlockedCell) continue;
    if (s > 0 && walker.kind[s - 1] >= 0) continue;
    // An anchor must lie within reach of the Easel's Pieces.
    int empties = 0;
    bool reach = false;
    for (int i = s; i < static_cast<int>(line.size()) && walker.kind[i] != kBlockedCell; ++i) {
      if (walker.kind[i] == kOpenCell) {
        if (++empties > rackSize) break;
        if (walker.anchor[i]) {
          reach = true;
          break;
        }
      }
    }
    if (!reach) continue;
    walker.start = s;
    walker.Walk(s, scene.lexicon.Root(), false, LineSearch::Partial{});
  }
}

}  // namespace qm::search
