#include "game/level/LevelCheck.hpp"

#include <algorithm>
#include <set>

#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Codes.hpp"

namespace qm::level {
namespace {

const std::string kStartBoxName = "start box (" + std::to_string(kStartBox) + ")";
const std::string kEndBoxName = "end box (" + std::to_string(kEndBox) + ")";

class Reach {
 public:
  explicit Reach(const Level& level)
      : level_(level),
        columns_(level.w + 1),
        reached_(level.cells.size(), 0),
        fallen_(level.cells.size(), 0) {}

  bool Run() {
    for (size_t k = 0; k < level_.cells.size(); ++k)
      if (level_.cells[k] == kStartBox) Visit(k);
    bool changed = true;
    while (changed) {
      while (!queue_.empty()) {
        size_t at = queue_.back();
        queue_.pop_back();
        int c = static_cast<int>(at % columns_), r = static_cast<int>(at / columns_);
        for (CellPos n : Neighbours({c, r})) {
          if (n.column < 0 || n.row < 0 || n.column > level_.w || n.row > level_.h) continue;
          size_t next = static_cast<size_t>(n.row) * columns_ + n.column;
          if (reached_[next]) continue;
          if (Passable(next))
            Visit(next);
          else
            blocked_.push_back(next);
        }
      }
      // A key or a fallen wall found since: cells blocked before may now be entered.
      changed = false;
      std::vector<size_t> blocked;
      blocked.swap(blocked_);
      for (size_t at : blocked) {
        if (reached_[at]) continue;
        if (Passable(at)) {
          Visit(at);
          changed = true;
        } else {
          blocked_.push_back(at);
        }
      }
    }
    for (size_t k = 0; k < level_.cells.size(); ++k)
      if (reached_[k] && level_.cells[k] == kEndBox) return true;
    return false;
  }

 private:
  bool Passable(size_t at) const {
    int16_t code = level_.cells[at];
    if (AcceptsPiece(code) || fallen_[at]) return true;
    return IsLockedWall(code) && keys_.count(code);
  }

  void Visit(size_t at) {
    reached_[at] = 1;
    queue_.push_back(at);
    int16_t code = level_.cells[at];
    if (IsKey(code)) keys_.insert(LockOpenedBy(code));
    if (IsMechanism(code)) {  // a mechanism may lower every wall around it
      int c = static_cast<int>(at % columns_), r = static_cast<int>(at / columns_);
      for (CellPos n : Neighbours({c, r})) {
        if (n.column < 0 || n.row < 0 || n.column > level_.w || n.row > level_.h) continue;
        size_t next = static_cast<size_t>(n.row) * columns_ + n.column;
        int16_t wall = level_.cells[next];
        if (IsStanding(wall)) fallen_[next] = 1;
      }
    }
  }

  const Level& level_;
  size_t columns_;
  std::vector<uint8_t> reached_, fallen_;
  std::vector<size_t> queue_, blocked_;
  std::set<int16_t> keys_;
};

bool OnLevel(const Level& level, CellPos p) {
  return p.column >= 0 && p.row >= 0 && p.column <= level.w && p.row <= level.h;
}

// The longest straight line of cells that take Pieces, along any of the three axes.
int LongestLine(const Level& level) {
  int longest = 0;
  for (int axis = 0; axis < 3; ++axis) {
    for (int r = 0; r <= level.h; ++r) {
      for (int c = 0; c <= level.w; ++c) {
        if (!AcceptsPiece(level.At(c, r))) continue;
        CellPos back = StepBack(axis, {c, r});
        if (OnLevel(level, back) && AcceptsPiece(level.At(back.column, back.row))) continue;
        int length = 0;
        for (CellPos p{c, r}; OnLevel(level, p) && AcceptsPiece(level.At(p.column, p.row));
             p = StepForward(axis, p))
          ++length;
        longest = std::max(longest, length);
      }
    }
  }
  return longest;
}

}  // namespace

bool EndBoxReachable(const Level& level) {
  return Reach(level).Run();
}

std::vector<std::string> CheckLevel(const DecodedLevel& decoded, bool strict) {
  std::vector<std::string> faults;
  if (decoded.fault != FileFault::kNone) faults.push_back(FileFaultText(decoded));
  if (decoded.fault == FileFault::kMissing || decoded.fault == FileFault::kOversize) return faults;
  const Level& level = decoded.level;
  bool hasStart = std::count(level.cells.begin(), level.cells.end(), kStartBox) > 0;
  bool hasEnd = std::count(level.cells.begin(), level.cells.end(), kEndBox) > 0;
  if (!hasStart) faults.push_back("no " + kStartBoxName);
  if (!hasEnd) faults.push_back("no " + kEndBoxName);
  if (hasStart && hasEnd && !EndBoxReachable(level))
    faults.push_back("the " + kEndBoxName + " cannot be reached from the " + kStartBoxName);
  if (!strict) return faults;

  if (level.title.empty()) faults.push_back("no title");
  if (level.startColumn < 0 || level.startRow < 0 || level.startColumn > level.w ||
      level.startRow > level.h)
    faults.push_back("the start cell lies off the Board");
  std::set<int16_t> unknown;
  for (int16_t code : level.cells)
    if (code < kVoidCell || code > kLastCellCode) unknown.insert(code);
  for (int16_t code : unknown) faults.push_back("unknown cell code " + std::to_string(code));
  static const char* kKinds[] = {"gold", "silver", "bronze"};
  for (int k = 0; k < kKeyKinds; ++k) {
    const int lock = kFirstLockedWall + k, key = kGoldKey + k;
    bool locked = std::count(level.cells.begin(), level.cells.end(), lock) > 0;
    bool keyed = std::count(level.cells.begin(), level.cells.end(), key) > 0;
    if (locked && !keyed)
      faults.push_back(std::string("a ") + kKinds[k] + " locked wall (" + std::to_string(lock) +
                       ") but no " + kKinds[k] + " key (" + std::to_string(key) + ")");
  }
  int longest = LongestLine(level);
  for (int k : {0, 2, 4, 6}) {
    if (level.objectives[k] > 0 && level.objectives[k + 1] > longest)
      faults.push_back("objective " + std::to_string(k + 1) + " asks for words of " +
                       std::to_string(level.objectives[k + 1]) +
                       " letters, but the longest line of cells is " + std::to_string(longest));
  }
  if (level.objectives[8] > kMostEaselSlots)
    faults.push_back("objective 9 asks for more than " + std::to_string(kMostEaselSlots) +
                     " Easel slots");
  std::set<int> shades(decoded.board.shade.begin(), decoded.board.shade.end());
  if (level.shadePeriod <= 0) shades = {0, 1, 2, 3, 4, 5, 6};
  shades.erase(kHiddenShade);
  static const char* kChannels[] = {"red", "green", "blue"};
  for (int s : shades) {
    for (int k = 0; k < 3; ++k) {
      int64_t tint = int64_t{level.baseTint[k]} - int64_t{s} * level.shadeStep[k];
      if (tint < 0 || tint > 255) {
        faults.push_back(std::string("the ") + kChannels[k] + " tint at shade " +
                         std::to_string(s) + " is " + std::to_string(tint) + ", outside 0..255");
        return faults;
      }
    }
  }
  return faults;
}

}  // namespace qm::level
