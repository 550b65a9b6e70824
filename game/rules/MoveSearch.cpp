#include "game/rules/MoveSearch.hpp"

#include <algorithm>

#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/LineWalk.hpp"
#include "game/rules/Objectives.hpp"
#include "game/rules/SearchScene.hpp"
#include "game/rules/TopMoves.hpp"

// The search's jobs each have a file: goals and distance field (SearchGoals.cpp), the top
// moves kept (TopMoves.hpp), the line walk with its cross words (LineWalk.cpp), the pruning
// bound (SearchBound.cpp), the move's value (MoveValue.cpp) and the weights the bound and
// the value share (SearchWeights.hpp).
namespace qm {

BoardLines BuildLines(const BoardState& board) {
  BoardLines out;
  for (int axis = kFallingDiagonal; axis <= kRisingDiagonal; ++axis) {
    for (int r = 0; r <= board.h; ++r) {
      for (int c = 0; c <= board.w; ++c) {
        CellPos back = StepBack(axis, {c, r});
        if (IsOnBoard(board, back.column, back.row)) continue;
        std::vector<CellPos> line;
        for (CellPos p{c, r}; IsOnBoard(board, p.column, p.row); p = StepForward(axis, p))
          line.push_back(p);
        if (line.size() >= 2) {
          out.lines.push_back(std::move(line));
          out.axisOf.push_back(axis);
        }
      }
    }
  }
  return out;
}

Needs JudgeNeeds(const GameState& game, int level) {
  const auto& target = game.board.objectives;
  const auto& progress = game.objectives.progress;
  Needs needs;
  if (target[1] > 0) {
    needs.wordsLeft = std::max(0, target[1] - progress[1]);
    needs.wordLength = target[2];
  }
  for (int m = 0; m < 3; ++m) {
    int k = 3 + 2 * m;
    if (target[k] > 0) {
      needs.materialLeft[m] = std::max(0, target[k] - progress[k]);
      needs.materialLength[m] = target[k + 1];
    }
  }
  if (target[9] > 0) needs.easelTarget = target[9];
  if (target[10] > 0) needs.scoreTarget = ObjectiveScoreTarget(game.board, level);
  return needs;
}

bool NeedsMet(const Needs& needs, const GameState& game) {
  if (needs.wordsLeft > 0) return false;
  for (int m = 0; m < 3; ++m) {
    if (needs.materialLeft[m] > 0) return false;
  }
  if (needs.easelTarget > 0 && game.easel.slots[0] < needs.easelTarget) return false;
  if (needs.scoreTarget > 0 && game.players.scores[0] < needs.scoreTarget) return false;
  return true;
}

std::vector<Candidate> FindMoves(const GameState& game, const BoardLines& lines,
                                 const Lexicon& lexicon, const Needs& needs,
                                 const SearchOptions& options) {
  const BoardState& board = game.board;
  search::Scene scene{game, lexicon, needs, options.stuck, {}, search::kFar, false, {}, {}, {}};
  std::array<int, 26> rack{};
  int rackSize = 0;
  for (int k = 1; k <= game.easel.slots[0]; ++k) {
    int16_t code = game.easel.slots[k];
    if (!IsPieceCode(code)) continue;
    ++rack[LetterIndexOf(code)];
    ++rackSize;
    scene.rackByLetter[LetterIndexOf(code)].push_back(code);
    ++scene.rackByMaterial[MaterialOf(code)];
  }
  for (auto& options : scene.rackByLetter) search::SortRack(scene, options, -1);
  search::ChooseGoals(scene);
  scene.fog = board.shadePeriod <= 0;
  for (int16_t code : board.cells) scene.anyPiece = scene.anyPiece || HoldsPiece(code);

  std::vector<uint8_t> seen(board.cells.size() * 26, 0);
  // Only the best few are ever tried.
  search::TopMoves top(search::kCandidatesKept);
  for (size_t li = 0; li < lines.lines.size(); ++li) {
    search::SearchLine(scene, options, lines.lines[li], lines.axisOf[li], rack, rackSize, seen,
                       top);
  }
  return top.Take();
}

}  // namespace qm
