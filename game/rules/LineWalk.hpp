#pragma once
// The line walk: the words the Easel can lay along one line of the Board, with the cross
// words each laid Piece makes. Its pruning bound is in SearchBound.cpp, the value of each
// word it finds in MoveValue.cpp.
#include <array>
#include <cstdint>
#include <vector>

#include "game/rules/SearchScene.hpp"
#include "game/rules/TopMoves.hpp"

namespace qm::search {

struct Placed {
  int index;  // position on the line
  int letter;
};

// The fixed Pieces a Piece laid on an open cell of the line would join along one of the
// two other axes: its cross word, looked up once per letter.
struct CrossSide {
  int count = 0;    // fixed Pieces of the cross word; 0: none
  int64_t sum = 0;  // their values
  int material = kMaterialUnknown;
  int prefixNode = -1;               // letter tree node after the letters before the cell
  int afterBegin = 0, afterEnd = 0;  // its letters after the cell, in CrossLetters
  std::array<int8_t, 26> known;      // -1 not looked up yet, 0 no word, 1 a word
};

// One line of the Board: the walk of words along it and what each cell of it holds.
struct LineSearch {
  Scene& scene;
  const SearchOptions& options;
  const std::vector<CellPos>& line;
  int axis = 0;
  std::vector<int> kind;      // letter of a Piece, or kOpenCell / kBlockedCell
  std::vector<int16_t> code;  // the Board's code of each cell
  std::vector<bool> anchor;
  std::vector<int> toAnchor;     // open cells from here to the nearest anchor ahead, inclusive
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
    int64_t sum = 0;     // main word letters up to here, placed ones at their best
    int64_t factor = 1;  // word multipliers under the placed ones
    int64_t cross = 0;   // best cross words of the placed ones
    double effects = 0;  // their cells' effects, the good ones only
    int words = 1;       // words the move can make: the main word and the cross words
    int minDist = kFar;
    bool end = false;  // the end box is covered
  };

  void Walk(int i, int node, bool anchored, Partial part);
  // The letter laid on open cell i at its best: its value, and the cross words it makes.
  void AddPlacedLetter(int i, int letter, const Partial& part, Partial& next);

  // Branch and bound, for searches that only want the best moves: every word that lays
  // more Pieces from cell i on (at most `left` of them) is worth no more than the bound, so
  // when the bound cannot beat the moves kept, the walk skips them (SearchBound.cpp).
  bool CannotBeat(int i, int left, const Partial& part) const;

  // From an open cell on, with `left` Pieces still to lay: the open cells they can cover
  // and the fixed Pieces up to the next open cell, at their best.
  struct Ahead {
    int64_t fixed = 0, factor = 1, cross = 0;  // fixed: the values of the Pieces already there
    int opens = 0;                             // open cells, each to take a Piece
    int64_t maxTimes = 1;                      // the best letter multiplier among them
    double effects = 0;
    int words = 0;
    int minDist = kFar;
    bool end = false;
  };

  // The best case of every open cell of the line, for CannotBeat.
  void GatherBounds();
  double EffectValueAt(size_t i) const;

  bool prune = false;  // only the best moves are wanted (see CannotBeat)
  std::vector<int64_t> cellTimes, cellFactor, crossBest;
  std::array<int64_t, 26> letterBest{};  // the best value of a rack Piece of each letter
  std::array<int64_t, kMostPiecesPerMove + 1> topValues{};  // sums of the k best rack values
  std::vector<double> effectBest;
  std::vector<int> distAt, crossWords;
  std::vector<Ahead> ahead;  // per open cell, by the Pieces left 0..kMostPiecesPerMove

  // The fixed Pieces beside each open cell along the two other axes.
  void GatherCrossSides();

  // Whether the cross word of `side` with `letter` on its cell is a word (looked up once).
  bool CrossIsWord(CrossSide& side, int letter) const {
    if (side.known[letter] < 0) {
      int node = side.prefixNode >= 0 ? scene.lexicon.Child(side.prefixNode, letter) : -1;
      for (int k = side.afterBegin; k < side.afterEnd && node >= 0; ++k)
        node = scene.lexicon.Child(node, crossLetters[k]);
      side.known[letter] = node >= 0 && scene.lexicon.EndsWord(node) ? 1 : 0;
    }
    return side.known[letter] == 1;
  }
};

// Weighs the word the walk just found (ending at line position `end`) and offers it to the
// top moves (MoveValue.cpp).
void JudgeFound(LineSearch& search, int end);

// Walks every word of one line (LineWalk.cpp).
void SearchLine(Scene& scene, const SearchOptions& options, const std::vector<CellPos>& line,
                int axis, const std::array<int, 26>& rack, int rackSize, std::vector<uint8_t>& seen,
                TopMoves& top);

}  // namespace qm::search
