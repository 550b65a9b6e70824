#include "game/level/LevelCheck.hpp"

#include <algorithm>
#include <set>

#include "game/play/HexGrid.hpp"

namespace qm::level {
namespace {

constexpr int16_t kStartBox = 218, kEndBox = 219;

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
    if (code > 156 || fallen_[at]) return true;
    return code >= 145 && code <= 147 && keys_.count(code);
  }

  void Visit(size_t at) {
    reached_[at] = 1;
    queue_.push_back(at);
    int16_t code = level_.cells[at];
    // The gold key opens 145, the silver 146, the bronze 147.
    if (code >= 235 && code <= 237) keys_.insert(static_cast<int16_t>(145 + (code - 235)));
    if (code >= 212 && code <= 214) {  // a mechanism may lower every wall around it
      int c = static_cast<int>(at % columns_), r = static_cast<int>(at / columns_);
      for (CellPos n : Neighbours({c, r})) {
        if (n.column < 0 || n.row < 0 || n.column > level_.w || n.row > level_.h) continue;
        size_t next = static_cast<size_t>(n.row) * columns_ + n.column;
        int16_t wall = level_.cells[next];
        if (wall >= 131 && wall <= 156) fallen_[next] = 1;
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
        if (level.At(c, r) <= 156) continue;
        CellPos back = StepBack(axis, {c, r});
        if (OnLevel(level, back) && level.At(back.column, back.row) > 156) continue;
        int length = 0;
        for (CellPos p{c, r}; OnLevel(level, p) && level.At(p.column, p.row) > 156;
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
  if (!hasStart) faults.push_back("no start box (218)");
  if (!hasEnd) faults.push_back("no end box (219)");
  if (hasStart && hasEnd && !EndBoxReachable(level))
    faults.push_back("the end box (219) cannot be reached from the start box (218)");
  if (!strict) return faults;

  if (level.title.empty()) faults.push_back("no title");
  if (level.startColumn < 0 || level.startRow < 0 || level.startColumn > level.w ||
      level.startRow > level.h)
    faults.push_back("the start cell lies off the Board");
  std::set<int16_t> unknown;
  for (int16_t code : level.cells)
    if (code < 0 || code > 237) unknown.insert(code);
  for (int16_t code : unknown) faults.push_back("unknown cell code " + std::to_string(code));
  static const char* kKinds[] = {"gold", "silver", "bronze"};
  for (int k = 0; k < 3; ++k) {
    bool locked = std::count(level.cells.begin(), level.cells.end(), 145 + k) > 0;
    bool key = std::count(level.cells.begin(), level.cells.end(), 235 + k) > 0;
    if (locked && !key)
      faults.push_back(std::string("a ") + kKinds[k] + " locked wall (" + std::to_string(145 + k) +
                       ") but no " + kKinds[k] + " key (" + std::to_string(235 + k) + ")");
  }
  int longest = LongestLine(level);
  for (int k : {0, 2, 4, 6}) {
    if (level.objectives[k] > 0 && level.objectives[k + 1] > longest)
      faults.push_back("objective " + std::to_string(k + 1) + " asks for words of " +
                       std::to_string(level.objectives[k + 1]) +
                       " letters, but the longest line of cells is " + std::to_string(longest));
  }
  if (level.objectives[8] > 18) faults.push_back("objective 9 asks for more than 18 Easel slots");
  std::set<int> shades(decoded.board.shade.begin(), decoded.board.shade.end());
  if (level.shadePeriod <= 0) shades = {0, 1, 2, 3, 4, 5, 6};
  shades.erase(127);
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
