#include <algorithm>
#include <deque>
#include <vector>

#include "game/play/Board.hpp"
#include "game/rules/SearchScene.hpp"

namespace qm::search {

namespace {

bool Passable(int16_t code) {
  return AcceptsPiece(code) || HoldsPiece(code);
}

}  // namespace

// Steps over the hex grid from the goal Cells through every Cell a word can cross.
std::vector<int> DistanceField(const BoardState& board, const std::vector<CellPos>& goals,
                               const std::vector<uint8_t>* stuck) {
  std::vector<int> dist(board.cells.size(), kFar);
  std::deque<CellPos> queue;
  for (CellPos goal : goals) {
    dist[Index(board, goal.column, goal.row)] = 0;
    queue.push_back(goal);
  }
  while (!queue.empty()) {
    CellPos pos = queue.front();
    queue.pop_front();
    int next = dist[Index(board, pos.column, pos.row)] + 1;
    for (CellPos n : Neighbours(pos)) {
      if (!IsOnBoard(board, n.column, n.row)) continue;
      if (!Passable(CellCode(board, n.column, n.row))) continue;
      if (stuck && (*stuck)[Index(board, n.column, n.row)]) continue;
      int& d = dist[Index(board, n.column, n.row)];
      if (d <= next) continue;
      d = next;
      queue.push_back(n);
    }
  }
  return dist;
}

bool IsWallNear(const BoardState& board, CellPos p) {
  for (CellPos n : Neighbours(p)) {
    int16_t code = CellCode(board, n.column, n.row);
    if (IsStanding(code)) return true;
  }
  return false;
}

// Goals: the end box once it can be reached and nothing else is missing; before that the
// keys or mechanisms that open the way, or the cells an objective still needs.
void ChooseGoals(Scene& s) {
  const BoardState& board = s.game.board;
  std::vector<CellPos> fin, keys, stars, gold, bonus, points, pieces;
  for (int c = 0; c <= board.w; ++c) {
    for (int r = 0; r <= board.h; ++r) {
      int16_t code = CellCode(board, c, r);
      CellPos p{c, r};
      if (code == kEndBox) fin.push_back(p);
      if (IsLockedWall(code)) s.lockPresent[code - kFirstLockedWall] = true;
      if (IsStar(code)) stars.push_back(p);
      if (IsCompartment(code)) gold.push_back(p);
      if (code == kBonusMalus) bonus.push_back(p);
      if (code == kHundredPoints || InCodeRange(code, kFirstIncrease, kLastIncrease) ||
          IsWordMultiplier(code)) {
        points.push_back(p);
      }
      if (HoldsPiece(code) || code == kStartBox) pieces.push_back(p);
    }
  }
  for (int c = 0; c <= board.w; ++c) {
    for (int r = 0; r <= board.h; ++r) {
      int16_t code = CellCode(board, c, r);
      if (IsKey(code) && s.lockPresent[code - kGoldKey]) keys.push_back({c, r});
      if (IsMechanism(code) && IsWallNear(board, {c, r})) keys.push_back({c, r});
    }
  }
  auto reaches = [&](const std::vector<CellPos>& goals) {
    if (goals.empty()) return false;
    std::vector<int> d = DistanceField(board, goals, nullptr);
    for (CellPos p : pieces) {
      if (d[Index(board, p.column, p.row)] < kFar) return true;
    }
    return false;
  };
  std::vector<CellPos> goals;
  bool finReachable = reaches(fin);
  bool needMaterial = false;
  for (int m = 0; m < 3; ++m) {
    if (s.needs.materialLeft[m] > 0 && s.rackByMaterial[m + 2] < s.needs.materialLength[m])
      needMaterial = true;
  }
  if (!finReachable) {
    goals = keys;
  } else if (needMaterial && (!stars.empty() || !gold.empty())) {
    goals = stars;
    if (s.needs.materialLeft[1] > 0) goals.insert(goals.end(), gold.begin(), gold.end());
  } else if (s.needs.easelTarget > 0 && s.game.easel.slots[0] < s.needs.easelTarget &&
             !bonus.empty()) {
    goals = bonus;
  } else if (s.needs.scoreTarget > 0 && s.game.players.scores[0] < s.needs.scoreTarget &&
             !points.empty()) {
    goals = points;
  }
  if (goals.empty() || !reaches(goals)) {
    goals = finReachable || keys.empty() ? fin : keys;
    s.finIsGoal = finReachable;
  }
  s.dist = DistanceField(board, goals, s.stuck);
  for (CellPos p : pieces) s.frontier = std::min(s.frontier, s.dist[Index(board, p.column, p.row)]);
}

}  // namespace qm::search
