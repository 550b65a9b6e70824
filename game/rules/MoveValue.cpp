#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "game/rules/Easel.hpp"
#include "game/rules/LineWalk.hpp"
#include "game/rules/SearchWeights.hpp"

namespace qm::search {

namespace {

struct Judged {
  int64_t points = 0;
  int countsWords = 0;                  // toward objective 1
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

void ChooseCodes(const Scene& s, const std::array<int, kMostPiecesPerMove>& letters, int n,
                 int wantMaterial, std::array<int16_t, kMostPiecesPerMove>& codes) {
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

}  // namespace

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

double EffectValue(const Scene& s, int16_t under, CellPos at, int pieceCount) {
  const GameState& game = s.game;
  int64_t score = game.players.scores[0];
  // The percentages act on the score as the rules do; kept in the same arithmetic.
  if (under == kHundredPoints) return kHundredPointsBonus;
  if (InCodeRange(under, kFirstSmallIncrease, kLastSmallIncrease)) {
    return static_cast<double>(score) * (under - kFirstSmallIncrease + 1) * kSmallIncreaseStep /
           100;
  }
  if (InCodeRange(under, kFirstIncrease, kLastIncrease))
    return static_cast<double>(score) * (under - kFirstIncrease + 1) * kIncreaseStep / 100;
  if (IsReduction(under)) return -static_cast<double>(score) * ReductionPercentOf(under) / 100 - 20;
  if (IsMechanism(under)) return IsWallNear(game.board, at) ? 120 : 0;
  if (IsBag(under)) {
    // A bag matters more as the PieceBag runs low.
    int bag = std::max<int>(0, game.easel.bag.empty() ? 0 : game.easel.bag[0]);
    return 15 + 4000.0 / (bag + 10);
  }
  if (IsStar(under)) {
    bool wanted = false, ready = false;
    for (int m = 0; m < 3; ++m) {
      if (s.needs.materialLeft[m] == 0) continue;
      wanted = true;
      if (s.rackByMaterial[m + 2] >= s.needs.materialLength[m]) ready = true;
    }
    return wanted ? (ready ? -200 : 400) : 0;
  }
  if (under == kBonusMalus) {
    if (s.needs.easelTarget == 0) return 0;
    int n = game.easel.slots[0];
    // Below the target every draw may help; at the target a draw may lose the objective.
    return n < s.needs.easelTarget ? 400 : (n == s.needs.easelTarget ? -3000 : -300);
  }
  if (IsCompartment(under)) return s.needs.materialLeft[1] > 0 ? 150 : 30;
  if (IsKey(under)) return s.lockPresent[under - kGoldKey] ? 500 : 0;
  (void)pieceCount;
  return 0;
}

// Weighs the move the walk just found (ending at line position `end`) and offers it.
void JudgeFound(LineSearch& w, int end) {
  Scene& scene = w.scene;
  const GameState& game = scene.game;
  const BoardState& board = game.board;
  const Needs& needs = scene.needs;
  const std::vector<CellPos>& line = w.line;
  const int n = w.placedCount;
  std::array<int, kMostPiecesPerMove> letters;
  for (int j = 0; j < n; ++j)
    letters[static_cast<size_t>(j)] = w.placed[static_cast<size_t>(j)].letter;
  if (n == 1) {
    const CellPos p = line[static_cast<size_t>(w.placed[0].index)];
    uint8_t& seen =
        w.seen[Index(board, p.column, p.row) * 26 + static_cast<size_t>(w.placed[0].letter)];
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
      if (w.kind[static_cast<size_t>(i)] >= 0 &&
          MaterialOf(w.code[static_cast<size_t>(i)]) != m + 2)
        ok = false;
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
      if (fresh && IsLetterMultiplier(under)) sum += value * (LetterFactorOf(under) - 1);
      if (fresh && IsWordMultiplier(under)) factor *= WordFactorOf(under);
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
      if (IsLetterMultiplier(under)) sum += value * (LetterFactorOf(under) - 1);
      if (IsWordMultiplier(under)) factor *= WordFactorOf(under);
      CountWord(scene, sum, factor, CombineMaterial(side.material, MaterialOf(code)),
                side.count + 1, judged);
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
  if (needs.easelTarget > 0 && (game.easel.slots[0] < needs.easelTarget || coversBonusMalus))
    allMet = false;
  if (needs.scoreTarget > 0 &&
      game.players.scores[0] + judged.points + static_cast<int64_t>(std::max(0.0, effects)) <
          needs.scoreTarget) {
    allMet = false;
  }
  if (coversEnd && !allMet) return;  // the level would end lost
  double value = WeighMove(needs, BagLeft(game),
                           MoveTerms{judged.points, progress, wordsGain, materialGain, effects, n});
  if (coversEnd) value += kEndBoxWeight;
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

}  // namespace qm::search
