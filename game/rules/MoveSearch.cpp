#include "game/rules/MoveSearch.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <deque>
#include <functional>

#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Objectives.hpp"

namespace qm {

namespace {

constexpr int kFar = INT_MAX / 4;
// Line cell kinds below 0; letters are 0..25.
constexpr int kOpenCell = -2;
constexpr int kBlockedCell = -3;
// Longer moves are rare and would make the search explode on a large Easel.
constexpr int kMostPiecesPerMove = 8;
constexpr size_t kCandidatesKept = 16;

bool IsMaterialObjective(int material) { return material >= kSilver && material <= kDiamond; }

size_t Index(const BoardState& board, int c, int r) {
  return static_cast<size_t>(c) * (board.h + 1) + static_cast<size_t>(r);
}

bool Passable(int16_t code) { return AcceptsPiece(code) || HoldsPiece(code); }

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

struct Scene {
  const GameState& game;
  const Lexicon& lexicon;
  const Needs& needs;
  const std::vector<uint8_t>* stuck;
  std::vector<int> dist;
  int frontier = kFar;  // best distance of a Piece already laid (or of the start box)
  bool finIsGoal = false;
  std::array<std::vector<int16_t>, 26> rackByLetter;  // Easel codes per letter
  std::array<int, 5> rackByMaterial{};
  std::array<bool, 3> lockPresent{};  // gold, silver, bronze locks on the Board
};

int16_t Code(const Scene& s, CellPos p) { return CellCode(s.game.board, p.column, p.row); }

bool IsWallNear(const BoardState& board, CellPos p) {
  for (CellPos n : Neighbours(p)) {
    int16_t code = CellCode(board, n.column, n.row);
    if (code >= 131 && code <= 156) return true;
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
      if (code >= 145 && code <= 147) s.lockPresent[code - 145] = true;
      if (code >= 225 && code <= 227) stars.push_back(p);
      if (code >= 232 && code <= 234) gold.push_back(p);
      if (code == kBonusMalus) bonus.push_back(p);
      if (code == 221 || (code >= 203 && code <= 205) || (code >= 193 && code <= 199)) points.push_back(p);
      if (HoldsPiece(code) || code == kStartBox) pieces.push_back(p);
    }
  }
  for (int c = 0; c <= board.w; ++c) {
    for (int r = 0; r <= board.h; ++r) {
      int16_t code = CellCode(board, c, r);
      if (code >= 235 && code <= 237 && s.lockPresent[code - 235]) keys.push_back({c, r});
      if (code >= 212 && code <= 214 && IsWallNear(board, {c, r})) keys.push_back({c, r});
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
    if (s.needs.materialLeft[m] > 0 && s.rackByMaterial[m + 2] < s.needs.materialLength[m]) needMaterial = true;
  }
  if (!finReachable) {
    goals = keys;
  } else if (needMaterial && (!stars.empty() || !gold.empty())) {
    goals = stars;
    if (s.needs.materialLeft[1] > 0) goals.insert(goals.end(), gold.begin(), gold.end());
  } else if (s.needs.easelTarget > 0 && s.game.easel.slots[0] < s.needs.easelTarget && !bonus.empty()) {
    goals = bonus;
  } else if (s.needs.scoreTarget > 0 && s.game.players.scores[0] < s.needs.scoreTarget && !points.empty()) {
    goals = points;
  }
  if (goals.empty() || !reaches(goals)) {
    goals = finReachable || keys.empty() ? fin : keys;
    s.finIsGoal = finReachable;
  }
  s.dist = DistanceField(board, goals, s.stuck);
  for (CellPos p : pieces) s.frontier = std::min(s.frontier, s.dist[Index(board, p.column, p.row)]);
}

struct Placed {
  int index;   // position on the line
  int letter;
};

// The fixed Pieces a Piece laid on an open cell of the line would join along one of the
// two other axes: its cross word, looked up once per letter.
struct CrossSide {
  int count = 0;                  // fixed Pieces of the cross word; 0: none
  int64_t sum = 0;                // their values
  int material = kMaterialUnknown;
  int prefixNode = -1;            // letter tree node after the letters before the cell
  int afterBegin = 0, afterEnd = 0;  // its letters after the cell, in CrossLetters
  std::array<int8_t, 26> known;   // -1 not looked up yet, 0 no word, 1 a word
};

int CombineMaterial(int material, int m) {
  return material == kMaterialUnknown ? m : (material == m ? m : kMixedMaterial);
}

// The best few moves in the order std::partial_sort over all of them would leave: the same
// heap selection, done as the moves are found, so only the few best are ever built.
class TopMoves {
 public:
  explicit TopMoves(size_t keep) : keep_(keep) {}

  // Whether a move of this value changes the selection (build it and Add it only then).
  bool Wants(double value) const { return heap_.size() < keep_ || Better(value, heap_.front().value); }

  void Add(Candidate cand) {
    if (heap_.size() < keep_) {
      heap_.push_back(std::move(cand));
      if (heap_.size() == keep_) std::make_heap(heap_.begin(), heap_.end(), Compare);
      return;
    }
    ReplaceTop(std::move(cand));
  }

  bool Full() const { return heap_.size() == keep_; }
  // The value a move must beat to enter once Full.
  double Threshold() const { return heap_.front().value; }

  std::vector<Candidate> Take() {
    if (heap_.size() < keep_) std::make_heap(heap_.begin(), heap_.end(), Compare);
    std::sort_heap(heap_.begin(), heap_.end(), Compare);
    return std::move(heap_);
  }

 private:
  static bool Better(double a, double b) { return a > b; }
  static bool Compare(const Candidate& a, const Candidate& b) { return Better(a.value, b.value); }

  // The new move takes the top's place and sinks, as the library's heap selection does.
  void ReplaceTop(Candidate value) {
    const std::ptrdiff_t len = static_cast<std::ptrdiff_t>(heap_.size());
    std::ptrdiff_t hole = 0;
    std::ptrdiff_t child = 0;
    while (child < (len - 1) / 2) {
      child = 2 * (child + 1);
      if (Compare(heap_[child], heap_[child - 1])) --child;
      heap_[hole] = std::move(heap_[child]);
      hole = child;
    }
    if ((len & 1) == 0 && child == (len - 2) / 2) {
      child = 2 * (child + 1);
      heap_[hole] = std::move(heap_[child - 1]);
      hole = child - 1;
    }
    std::ptrdiff_t parent = (hole - 1) / 2;
    while (hole > 0 && Compare(heap_[parent], value)) {
      heap_[hole] = std::move(heap_[parent]);
      hole = parent;
      parent = (hole - 1) / 2;
    }
    heap_[hole] = std::move(value);
  }

  size_t keep_;
  std::vector<Candidate> heap_;
};

struct LineSearch;
void JudgeFound(LineSearch& search, int end);

// One line of the Board: the walk of words along it and what each cell of it holds.
struct LineSearch {
  Scene& scene;
  const SearchOptions& options;
  const std::vector<CellPos>& line;
  int axis = 0;
  std::vector<int> kind;      // letter of a Piece, or kOpenCell / kBlockedCell
  std::vector<int16_t> code;  // the Board's code of each cell
  std::vector<bool> anchor;
  std::vector<int> toAnchor;  // open cells from here to the nearest anchor ahead, inclusive
  std::vector<CrossSide> cross;  // two per cell: the other axes in order
  std::vector<int> crossLetters;
  std::array<int, 26> rack{};
  int rackSize = 0;
  int start = 0;
  std::array<Placed, kMostPiecesPerMove> placed{};
  int placedCount = 0;
  std::vector<uint8_t>& seen;  // single Pieces are found along each of their axes
  TopMoves& top;

  // What the Pieces of the word so far can at most be worth (see CannotBeat).
  struct Partial {
    int64_t sum = 0;        // main word letters up to here, placed ones at their best
    int64_t factor = 1;     // word multipliers under the placed ones
    int64_t cross = 0;      // best cross words of the placed ones
    double effects = 0;     // their cells' effects, the good ones only
    int words = 1;          // words the move can make: the main word and the cross words
    int minDist = kFar;
    bool end = false;       // the end box is covered
  };

  void Walk(int i, int node, bool anchored, Partial part) {
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

  // The letter laid on open cell i at its best: its value, and the cross words it makes.
  void AddPlacedLetter(int i, int letter, const Partial& part, Partial& next) {
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

  // Branch and bound, for searches that only want the best moves: every word that lays
  // more Pieces from cell i on (at most `left` of them) is worth no more than the bound, so
  // when the bound cannot beat the moves kept, the walk skips them. Each bound term is at
  // least what the move's own value counts, so the moves kept are exactly the same.
  bool CannotBeat(int i, int left, const Partial& part) const {
    const Ahead& a = ahead[static_cast<size_t>(i) * (kMostPiecesPerMove + 1) + static_cast<size_t>(left)];
    if (part.end || a.end) return false;  // the end box outweighs everything
    const Needs& needs = scene.needs;
    // The open cells ahead take distinct Pieces: at most the best few, on the best multiplier.
    const int64_t ahead = a.fixed + topValues[static_cast<size_t>(a.opens)] * a.maxTimes;
    const int64_t points = (part.sum + ahead) * part.factor * a.factor + part.cross + a.cross;
    const int minDist = std::min(part.minDist, a.minDist);
    double progress = 0;
    if (minDist < kFar) progress = scene.frontier < kFar ? std::max(1.0, static_cast<double>(scene.frontier - minDist)) : 1.0;
    // Each word counts once for the objectives; a word of one Material needs a new Piece of it.
    const int words = part.words + a.words;
    int materialLeft = 0;
    for (int m = 0; m < 3; ++m) materialLeft += scene.rackByMaterial[m + 2] > 0 ? needs.materialLeft[m] : 0;
    double gains = std::min(needs.wordsLeft, words) * 300.0 + std::min(materialLeft, words) * 900.0;
    double pointWeight = needs.scoreTarget > 0 ? 3.0 : 1.0;
    int bagLeft = std::max<int>(0, scene.game.easel.bag.empty() ? 0 : scene.game.easel.bag[0]);
    double bound = static_cast<double>(points) * pointWeight + progress * 40 + gains + part.effects + a.effects -
                   placedCount * (1.0 + 500.0 / (bagLeft + 10));
    bound += 1.0 + std::abs(bound) * 1e-9;  // rounding of the sums above
    return bound <= top.Threshold();
  }

  // From an open cell on, with `left` Pieces still to lay: the open cells they can cover
  // and the fixed Pieces up to the next open cell, at their best.
  struct Ahead {
    int64_t fixed = 0, factor = 1, cross = 0;  // fixed: the values of the Pieces already there
    int opens = 0;                              // open cells, each to take a Piece
    int64_t maxTimes = 1;                       // the best letter multiplier among them
    double effects = 0;
    int words = 0;
    int minDist = kFar;
    bool end = false;
  };

  void GatherBounds() {
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
      const int64_t times = under >= 186 && under <= 192 ? under - 184 : 1;
      const int64_t factor = under >= 193 && under <= 199 ? under - 191 : 1;
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
        const bool stop = j == size || kind[j] == kBlockedCell || (kind[j] == kOpenCell && opens == kMostPiecesPerMove);
        if (stop || (kind[j] == kOpenCell && opens >= 1)) {
          for (int r = opens; r <= (stop ? kMostPiecesPerMove : opens); ++r) ahead[i * width + static_cast<size_t>(r)] = run;
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

  double EffectValueAt(size_t i) const;

  bool prune = false;  // only the best moves are wanted (see CannotBeat)
  std::vector<int64_t> cellTimes, cellFactor, crossBest;
  std::array<int64_t, 26> letterBest{};  // the best value of a rack Piece of each letter
  std::array<int64_t, kMostPiecesPerMove + 1> topValues{};  // sums of the k best rack values
  std::vector<double> effectBest;
  std::vector<int> distAt, crossWords;
  std::vector<Ahead> ahead;  // per open cell, by the Pieces left 0..kMostPiecesPerMove

  // The fixed Pieces beside each open cell along the two other axes.
  void GatherCrossSides() {
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
        for (CellPos pos = StepBack(other, line[i]); isPiece(pos); pos = StepBack(other, pos)) before.push_back(pos);
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

  bool CrossIsWord(CrossSide& side, int letter) const {
    if (side.known[letter] < 0) {
      int node = side.prefixNode >= 0 ? scene.lexicon.Child(side.prefixNode, letter) : -1;
      for (int k = side.afterBegin; k < side.afterEnd && node >= 0; ++k) node = scene.lexicon.Child(node, crossLetters[k]);
      side.known[letter] = node >= 0 && scene.lexicon.EndsWord(node) ? 1 : 0;
    }
    return side.known[letter] == 1;
  }
};

struct Judged {
  int64_t points = 0;
  int countsWords = 0;                 // toward objective 1
  std::array<int, 3> countsMaterial{};  // silver, gold, diamond words
};

// Scores one word as the rules do: letter sum (new Pieces on letter multipliers count
// more) times the word multipliers under new Pieces.
void CountWord(const Scene& s, int64_t sum, int64_t factor, int material, int length, Judged& out) {
  out.points += sum * factor;
  if (length >= s.needs.wordLength) ++out.countsWords;
  for (int m = 0; m < 3; ++m) {
    if (material == m + 2 && length >= s.needs.materialLength[m]) ++out.countsMaterial[m];
  }
}

// Picks an Easel Piece for each letter: a word of a Material an objective asks for when the
// Easel allows it, else the Pieces worth most that no such word needs.
void SortRack(const Scene& s, std::vector<int16_t>& options, int wantMaterial) {
  auto rank = [&](int16_t code) {
    int m = MaterialOf(code);
    if (wantMaterial >= 0) return m == wantMaterial ? 0 : 1;
    bool kept = IsMaterialObjective(m) && s.needs.materialLeft[m - 2] > 0;
    return kept ? 1 : 0;
  };
  std::sort(options.begin(), options.end(), [&](int16_t a, int16_t b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    return s.game.easel.pieceValue[a] > s.game.easel.pieceValue[b];
  });
}

void ChooseCodes(const Scene& s, const std::array<int, kMostPiecesPerMove>& letters, int n, int wantMaterial,
                 std::array<int16_t, kMostPiecesPerMove>& codes) {
  for (int j = 0; j < n; ++j) {
    const int letter = letters[static_cast<size_t>(j)];
    size_t used = 0;  // earlier Pieces of the same letter in this move
    for (int e = 0; e < j; ++e) used += letters[static_cast<size_t>(e)] == letter ? 1 : 0;
    if (wantMaterial < 0) {
      codes[static_cast<size_t>(j)] = s.rackByLetter[letter][used];  // already in this order
      continue;
    }
    std::vector<int16_t> options = s.rackByLetter[letter];
    SortRack(s, options, wantMaterial);
    codes[static_cast<size_t>(j)] = options[used];
  }
}

double EffectValue(const Scene& s, int16_t under, CellPos at, int pieceCount) {
  const GameState& game = s.game;
  int64_t score = game.players.scores[0];
  switch (under) {
    case 221: return 100;
    case 200: case 201: case 202: return static_cast<double>(score) * (under - 199) * 2 / 100;
    case 203: case 204: case 205: return static_cast<double>(score) * (under - 202) * 5 / 100;
    case 206: case 207: case 208: return -static_cast<double>(score) * ((under - 205) * 5) / 100 - 20;
    case 212: case 213: case 214: return IsWallNear(game.board, at) ? 120 : 0;
    case 215: case 216: case 217: {
      // A bag matters more as the PieceBag runs low.
      int bag = std::max<int>(0, game.easel.bag.empty() ? 0 : game.easel.bag[0]);
      return 15 + 4000.0 / (bag + 10);
    }
    case 225: case 226: case 227: {
      bool wanted = false, ready = false;
      for (int m = 0; m < 3; ++m) {
        if (s.needs.materialLeft[m] == 0) continue;
        wanted = true;
        if (s.rackByMaterial[m + 2] >= s.needs.materialLength[m]) ready = true;
      }
      return wanted ? (ready ? -200 : 400) : 0;
    }
    case kBonusMalus: {
      if (s.needs.easelTarget == 0) return 0;
      int n = game.easel.slots[0];
      // Below the target every draw may help; at the target a draw may lose the objective.
      return n < s.needs.easelTarget ? 400 : (n == s.needs.easelTarget ? -3000 : -300);
    }
    case 232: case 233: case 234: return s.needs.materialLeft[1] > 0 ? 150 : 30;
    case 235: case 236: case 237: return s.lockPresent[under - 235] ? 500 : 0;
    default: break;
  }
  (void)pieceCount;
  return 0;
}

double LineSearch::EffectValueAt(size_t i) const { return EffectValue(scene, code[i], line[i], 1); }

// Weighs the move the walk just found (ending at line position `end`) and offers it.
void JudgeFound(LineSearch& w, int end) {
  Scene& scene = w.scene;
  const GameState& game = scene.game;
  const BoardState& board = game.board;
  const Needs& needs = scene.needs;
  const std::vector<CellPos>& line = w.line;
  const int n = w.placedCount;
  std::array<int, kMostPiecesPerMove> letters;
  for (int j = 0; j < n; ++j) letters[static_cast<size_t>(j)] = w.placed[static_cast<size_t>(j)].letter;
  if (n == 1) {
    const CellPos p = line[static_cast<size_t>(w.placed[0].index)];
    uint8_t& seen = w.seen[Index(board, p.column, p.row) * 26 + static_cast<size_t>(w.placed[0].letter)];
    if (seen) return;
    seen = 1;
  }
  // The whole main word, from its first cell to its last.
  int first = w.placed[0].index;
  while (first > 0 && w.kind[static_cast<size_t>(first - 1)] >= 0) --first;
  int mainLength = end - first + 1;

  // A word of the Material an objective asks for, when the Easel and the Board allow it.
  int wantMaterial = -1;
  for (int m = 0; m < 3 && wantMaterial < 0; ++m) {
    if (needs.materialLeft[m] == 0 || mainLength < needs.materialLength[m]) continue;
    bool ok = true;
    std::array<int, 26> needLetters{};
    for (int i = first; i <= end; ++i) {
      if (w.kind[static_cast<size_t>(i)] >= 0 && MaterialOf(w.code[static_cast<size_t>(i)]) != m + 2) ok = false;
    }
    for (int j = 0; j < n; ++j) ++needLetters[static_cast<size_t>(letters[static_cast<size_t>(j)])];
    for (int letter = 0; letter < 26 && ok; ++letter) {
      int have = 0;
      for (int16_t code : scene.rackByLetter[letter]) have += MaterialOf(code) == m + 2;
      if (have < needLetters[static_cast<size_t>(letter)]) ok = false;
    }
    if (ok) wantMaterial = m + 2;
  }
  std::array<int16_t, kMostPiecesPerMove> codes;
  ChooseCodes(scene, letters, n, wantMaterial, codes);
  bool coversStart = false, coversEnd = false, coversBonusMalus = false;
  for (int j = 0; j < n; ++j) {
    int16_t under = w.code[static_cast<size_t>(w.placed[static_cast<size_t>(j)].index)];
    if (under == kStartBox) coversStart = true;
    if (under == kEndBox) coversEnd = true;
    if (under == kBonusMalus) coversBonusMalus = true;
  }
  bool attached = mainLength > n || (coversStart && n > 1);
  Judged judged;
  {
    int64_t sum = 0, factor = 1;
    int material = kMaterialUnknown;
    int j = 0;
    for (int i = first; i <= end; ++i) {
      int16_t code = w.code[static_cast<size_t>(i)];
      int16_t under = 0;
      bool fresh = j < n && w.placed[static_cast<size_t>(j)].index == i;
      if (fresh) {
        under = code;
        code = codes[static_cast<size_t>(j++)];
      }
      int64_t value = game.easel.pieceValue[code];
      sum += value;
      material = CombineMaterial(material, MaterialOf(code));
      if (fresh && under >= 186 && under <= 192) sum += value * (under - 185);
      if (fresh && under >= 193 && under <= 199) factor *= under - 191;
    }
    CountWord(scene, sum, factor, material, mainLength, judged);
  }
  // Cross words through each new Piece (for a single Piece, the other two axes too).
  for (int j = 0; j < n; ++j) {
    const int i = w.placed[static_cast<size_t>(j)].index;
    const int16_t code = codes[static_cast<size_t>(j)];
    const int16_t under = w.code[static_cast<size_t>(i)];
    for (int slot = 0; slot < 2; ++slot) {
      CrossSide& side = w.cross[static_cast<size_t>(i) * 2 + static_cast<size_t>(slot)];
      if (side.count == 0 || !w.CrossIsWord(side, letters[static_cast<size_t>(j)])) continue;
      attached = true;
      int64_t value = game.easel.pieceValue[code];
      int64_t sum = side.sum + value;
      int64_t factor = 1;
      if (under >= 186 && under <= 192) sum += value * (under - 185);
      if (under >= 193 && under <= 199) factor *= under - 191;
      CountWord(scene, sum, factor, CombineMaterial(side.material, MaterialOf(code)), side.count + 1, judged);
    }
  }
  if (!attached) return;
  if (w.options.coverable) {
    for (int j = 0; j < n; ++j) {
      const CellPos p = line[static_cast<size_t>(w.placed[static_cast<size_t>(j)].index)];
      (*w.options.coverable)[Index(board, p.column, p.row)] = 1;
    }
  }

  int bestDist = kFar;
  double effects = 0;
  for (int j = 0; j < n; ++j) {
    const int i = w.placed[static_cast<size_t>(j)].index;
    const CellPos p = line[static_cast<size_t>(i)];
    bestDist = std::min(bestDist, scene.dist[Index(board, p.column, p.row)]);
    effects += EffectValue(scene, w.code[static_cast<size_t>(i)], p, n);
  }
  double progress = 0;
  if (bestDist < kFar) {
    int base = scene.frontier < kFar ? scene.frontier : bestDist + 1;
    progress = static_cast<double>(base - bestDist);
  }
  int wordsGain = std::min(judged.countsWords, needs.wordsLeft);
  int materialGain = 0;
  bool allMet = needs.wordsLeft <= judged.countsWords;
  for (int m = 0; m < 3; ++m) {
    materialGain += std::min(judged.countsMaterial[m], needs.materialLeft[m]);
    allMet = allMet && needs.materialLeft[m] <= judged.countsMaterial[m];
  }
  if (needs.easelTarget > 0 && (game.easel.slots[0] < needs.easelTarget || coversBonusMalus)) allMet = false;
  if (needs.scoreTarget > 0 && game.players.scores[0] + judged.points + static_cast<int64_t>(std::max(0.0, effects)) <
                                   needs.scoreTarget) {
    allMet = false;
  }
  if (coversEnd && !allMet) return;  // the level would end lost
  double pointWeight = needs.scoreTarget > 0 ? 3.0 : 1.0;
  double value = static_cast<double>(judged.points) * pointWeight + progress * 40 + wordsGain * 300 +
                 materialGain * 900 + effects;
  // Keep Pieces for later, the more so as the PieceBag runs low: short moves that do
  // as much are better.
  int bagLeft = std::max<int>(0, game.easel.bag.empty() ? 0 : game.easel.bag[0]);
  value -= n * (1.0 + 500.0 / (bagLeft + 10));
  if (coversEnd) value += 1e7;
  if (!w.top.Wants(value)) return;

  Candidate cand;
  cand.value = value;
  cand.coversEnd = coversEnd;
  cand.points = judged.points;
  for (int j = 0; j < n; ++j) {
    const CellPos p = line[static_cast<size_t>(w.placed[static_cast<size_t>(j)].index)];
    cand.pieces.push_back({p.column, p.row, codes[static_cast<size_t>(j)]});
  }
  for (int i = first, j = 0; i <= end; ++i) {
    int k = w.kind[static_cast<size_t>(i)];
    if (k < 0) k = w.placed[static_cast<size_t>(j++)].letter;
    cand.word += static_cast<char>('a' + k);
  }
  w.top.Add(std::move(cand));
}

}  // namespace

BoardLines BuildLines(const BoardState& board) {
  BoardLines out;
  for (int axis = kFallingDiagonal; axis <= kRisingDiagonal; ++axis) {
    for (int r = 0; r <= board.h; ++r) {
      for (int c = 0; c <= board.w; ++c) {
        CellPos back = StepBack(axis, {c, r});
        if (IsOnBoard(board, back.column, back.row)) continue;
        std::vector<CellPos> line;
        for (CellPos p{c, r}; IsOnBoard(board, p.column, p.row); p = StepForward(axis, p)) line.push_back(p);
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
  if (target[10] > 0) needs.scoreTarget = static_cast<int64_t>(target[10]) * 1000 * ObjectiveScoreFactor(level);
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

std::vector<Candidate> FindMoves(const GameState& game, const BoardLines& lines, const Lexicon& lexicon,
                                 const Needs& needs, const SearchOptions& options) {
  const BoardState& board = game.board;
  Scene scene{game, lexicon, needs, options.stuck, {}, kFar, false, {}, {}, {}};
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
  for (auto& options : scene.rackByLetter) SortRack(scene, options, -1);
  ChooseGoals(scene);
  bool fog = board.shadePeriod <= 0;
  bool anyPiece = false;
  for (int16_t code : board.cells) anyPiece = anyPiece || HoldsPiece(code);

  std::vector<uint8_t> seen(board.cells.size() * 26, 0);
  // Only the best few are ever tried.
  TopMoves top(kCandidatesKept);
  for (size_t li = 0; li < lines.lines.size(); ++li) {
    const std::vector<CellPos>& line = lines.lines[li];
    LineSearch walker{scene, options, line, lines.axisOf[li], {}, {}, {}, {}, {}, {}, rack, rackSize, 0, {}, 0, seen, top,
                      options.coverable == nullptr, {}, {}, {}, {}, {}, {}, {}, {}, {}};
    walker.kind.resize(line.size());
    walker.code.resize(line.size());
    walker.anchor.assign(line.size(), false);
    bool anyAnchor = false;
    for (size_t i = 0; i < line.size(); ++i) {
      int16_t code = Code(scene, line[i]);
      walker.code[i] = code;
      if (HoldsPiece(code)) {
        walker.kind[i] = LetterIndexOf(code);
      } else if (AcceptsPiece(code) && !(fog && options.visibleOnly &&
                                         ShadeOf(board, line[i].column, line[i].row) == kHiddenShade)) {
        walker.kind[i] = kOpenCell;
        if (code == kStartBox) walker.anchor[i] = true;
        if (anyPiece) {
          for (CellPos n : Neighbours(line[i])) {
            if (HoldsPiece(CellCode(board, n.column, n.row))) walker.anchor[i] = true;
          }
        }
        anyAnchor = anyAnchor || walker.anchor[i];
      } else {
        walker.kind[i] = kBlockedCell;
      }
    }
    if (!anyAnchor || rackSize == 0) continue;
    walker.toAnchor.assign(line.size() + 1, kFar);
    for (int i = static_cast<int>(line.size()) - 1; i >= 0; --i) {
      if (walker.kind[i] == kBlockedCell) continue;
      int open = walker.kind[i] == kOpenCell ? 1 : 0;
      walker.toAnchor[i] = walker.anchor[i] ? 1 : (walker.toAnchor[i + 1] >= kFar ? kFar : walker.toAnchor[i + 1] + open);
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
      walker.Walk(s, lexicon.Root(), false, LineSearch::Partial{});
    }
  }
  return top.Take();
}

}  // namespace qm
