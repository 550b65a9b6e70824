#pragma once
// The move search's own pieces, shared by its files (MoveSearch, SearchGoals, LineWalk,
// SearchBound, MoveValue); callers use MoveSearch.hpp.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/GameState.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Codes.hpp"
#include "game/rules/Lexicon.hpp"
#include "game/rules/MoveSearch.hpp"

namespace qm::search {

constexpr int kFar = INT_MAX / 4;
// Line cell kinds below 0; letters are 0..25.
constexpr int kOpenCell = -2;
constexpr int kBlockedCell = -3;
// Longer moves are rare and would make the search explode on a large Easel.
constexpr int kMostPiecesPerMove = 8;
constexpr size_t kCandidatesKept = 16;

inline bool IsMaterialObjective(int material) {
  return material >= kSilver && material <= kDiamond;
}

inline size_t Index(const BoardState& board, int c, int r) {
  return static_cast<size_t>(c) * (board.h + 1) + static_cast<size_t>(r);
}

inline int CombineMaterial(int material, int m) {
  return material == kMaterialUnknown ? m : (material == m ? m : kMixedMaterial);
}

// What one turn's search knows besides the line it walks.
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
  bool fog = false;                   // only visible Cells are open to the walk
  bool anyPiece = false;              // a Piece lies on the Board: its neighbours anchor words
};

// Goals and distance field (SearchGoals.cpp).
bool IsWallNear(const BoardState& board, CellPos p);
std::vector<int> DistanceField(const BoardState& board, const std::vector<CellPos>& goals,
                               const std::vector<uint8_t>* stuck);
// Sets the Scene's goals, distance field and frontier.
void ChooseGoals(Scene& s);

// The move's value (MoveValue.cpp).
// Orders one letter's Easel codes: a word of wantMaterial first (when >= 0), else the
// Pieces worth most that no Material objective needs.
void SortRack(const Scene& s, std::vector<int16_t>& options, int wantMaterial);
// The value of the effect of the cell `under` a Piece covers at `at`.
double EffectValue(const Scene& s, int16_t under, CellPos at, int pieceCount);

}  // namespace qm::search
