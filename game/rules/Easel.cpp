#include "game/rules/Easel.hpp"

#include <algorithm>
#include <utility>

#include "engine/Random.hpp"
#include "game/play/Board.hpp"

namespace qm {

namespace {

// Plastic values of A..Z; the other Materials multiply them, diamond is a flat 90.
constexpr std::array<uint8_t, 26> kPlasticValues = {1, 3, 3, 2,  1, 4, 2, 4, 1, 8, 5, 1, 3,
                                                    1, 1, 3, 10, 1, 1, 1, 1, 4, 4, 8, 4, 10};
// How many Pieces of each letter A..Z one bag adds (98 in all).
constexpr std::array<uint8_t, 26> kLetterCounts = {9, 2, 2, 4, 12, 2, 3, 2, 9, 1, 1, 4, 2,
                                                   6, 8, 2, 1, 6,  4, 6, 4, 2, 2, 1, 2, 1};
// Each further Material step is harder to win: bronze, silver, gold, diamond.
constexpr std::array<int, 4> kMaterialDraws = {100, 110, 120, 130};

int SlotCount(const EaselState& easel) {
  return std::clamp<int>(easel.slots[0], 0, kMaxEaselSlots);
}

int BagCount(const EaselState& easel) {
  return std::clamp<int>(easel.bag.empty() ? 0 : easel.bag[0], 0,
                         static_cast<int>(easel.bag.size()) - 1);
}

}  // namespace

void BuildPieceTables(EaselState& easel) {
  easel.pieceValue.fill(0);
  for (int letter = 0; letter < 26; ++letter) {
    int plain = kPlasticValues[letter];
    easel.pieceValue[PieceCodeOf(letter, kPlastic)] = static_cast<uint8_t>(plain);
    easel.pieceValue[PieceCodeOf(letter, kBronze)] = static_cast<uint8_t>(plain * 2);
    easel.pieceValue[PieceCodeOf(letter, kSilver)] = static_cast<uint8_t>(plain * 4);
    easel.pieceValue[PieceCodeOf(letter, kGold)] = static_cast<uint8_t>(plain * 8);
    easel.pieceValue[PieceCodeOf(letter, kDiamond)] = 90;
  }
  // Above every Piece value, so empty slots sort last when the Easel is arranged by value.
  easel.pieceValue[kEmptySlot] = 126;
  easel.letterFrequency.fill(0);
  for (int letter = 0; letter < 26; ++letter)
    easel.letterFrequency[letter + 1] = kLetterCounts[letter];
}

int64_t LevelRandomUpTo(EaselState& easel, int64_t m) {
  return easel.dealStream ? easel.dealStream->UpTo(m) : RandomUpTo(m);
}

void FillPieceBag(EaselState& easel) {
  if (easel.bag.size() < static_cast<size_t>(kBagCapacity) + 1)
    easel.bag.resize(kBagCapacity + 1, 0);
  int count = BagCount(easel);
  if (count >= kBagFullAt) return;
  for (int letter = 0; letter < 26; ++letter) {
    for (int copy = 0; copy < easel.letterFrequency[letter + 1]; ++copy) {
      int material = kPlastic;
      for (int draw : kMaterialDraws) {
        if (LevelRandomUpTo(easel, draw) > easel.valuableChance) break;
        ++material;
      }
      ++count;
      easel.bag[count] = PieceCodeOf(letter, material);
    }
  }
  easel.bag[0] = static_cast<int16_t>(count);
}

int16_t DrawFromBag(EaselState& easel) {
  int count = BagCount(easel);
  if (count <= 0) return kEmptySlot;
  int j = static_cast<int>(LevelRandomUpTo(easel, count - 1)) + 1;
  int16_t code = easel.bag[j];
  easel.bag[j] = easel.bag[count];
  easel.bag[count] = 0;
  easel.bag[0] = static_cast<int16_t>(count - 1);
  return code;
}

void DealEasel(EaselState& easel) {
  int n = SlotCount(easel);
  for (int k = 1; k <= n; ++k) easel.slots[k] = DrawFromBag(easel);
}

void ResetLevelRules(GameState& game) {
  EaselState& easel = game.easel;
  // A damaged profile cannot ask for more slots than the Easel has.
  const int n = std::clamp<int>(easel.carriedSlotCount, kFewestEaselSlots, kMostEaselSlots);
  easel.referenceSlotCount = static_cast<int16_t>(n);
  easel.valuableChance = 50;
  easel.bag.assign(kBagCapacity + 1, 0);
  FillPieceBag(easel);
  easel.slots.fill(0);
  easel.slots[0] = static_cast<int16_t>(n);
  DealEasel(easel);
  for (LaidPiece& laid : easel.laid) laid = LaidPiece{-1, 0, 0};
  game.render.lastWordColumn.fill(-1);
  game.render.lastWordRow.fill(0);
  game.board.revealColumn.fill(game.board.startColumn);
  game.board.revealRow.fill(game.board.startRow);
  game.objectives.lineWidths.fill(0);
  game.objectives.progress.fill(0);
  game.play.endTick = 0;
  easel.framePatch = EaselFramePatch{};  // the play screen composes a new frame
}

bool SwapWithBag(EaselState& easel, int k) {
  const int count = BagCount(easel);
  if (count <= 0 || k < 1 || k > SlotCount(easel)) return false;
  const int r = static_cast<int>(LevelRandomUpTo(easel, count - 1) + 1);
  std::swap(easel.slots[k], easel.bag[static_cast<size_t>(r)]);
  return true;
}

void RefillEasel(EaselState& easel) {
  int n = SlotCount(easel);
  for (int k = 1; k <= n; ++k) {
    if (easel.slots[k] == kEmptySlot && BagCount(easel) > 0) easel.slots[k] = DrawFromBag(easel);
  }
}

int LowestFreeSlot(const EaselState& easel) {
  int n = SlotCount(easel);
  for (int k = 1; k <= n; ++k) {
    if (easel.slots[k] == kEmptySlot) return k;
  }
  return 0;
}

int LaidPieceCount(const EaselState& easel) {
  int count = 0;
  for (int i = 1; i <= kMaxLaidPieces; ++i) {
    if (easel.laid[i].column != -1) ++count;
  }
  return count;
}

int LaidEntryAt(const EaselState& easel, int column, int row) {
  if (column == -1) return 0;
  for (int k = 1; k <= kMaxLaidPieces; ++k) {
    if (easel.laid[k].column == column && easel.laid[k].row == row) return k;
  }
  return 0;
}

int FreeLaidEntry(const EaselState& easel) {
  for (int k = 1; k <= kMaxLaidPieces; ++k) {
    if (easel.laid[k].column == -1) return k;
  }
  return 0;
}

int SlotHolding(const EaselState& easel, int16_t code) {
  int n = SlotCount(easel);
  for (int k = 1; k <= n; ++k) {
    if (easel.slots[k] == code) return k;
  }
  return 0;
}

bool PlaceTurnPiece(GameState& game, int column, int row, int16_t code) {
  if (!IsOnBoard(game.board, column, row)) return false;
  int16_t under = CellCode(game.board, column, row);
  int entry = FreeLaidEntry(game.easel);
  if (!AcceptsPiece(under) || entry == 0) return false;
  game.easel.laid[entry] =
      LaidPiece{static_cast<int16_t>(column), static_cast<int16_t>(row), under};
  SetCellCode(game.board, column, row, code);
  return true;
}

bool LayPiece(GameState& game, int slot, int column, int row) {
  EaselState& easel = game.easel;
  if (slot < 1 || slot > SlotCount(easel) || !IsPieceCode(easel.slots[slot])) return false;
  if (!PlaceTurnPiece(game, column, row, easel.slots[slot])) return false;
  easel.slots[slot] = kEmptySlot;
  return true;
}

int16_t LiftTurnPiece(GameState& game, int column, int row) {
  const int entry = LaidEntryAt(game.easel, column, row);
  const int16_t code = CellCode(game.board, column, row);
  if (entry == 0 || !IsPieceCode(code)) return 0;
  game.easel.laid[entry].column = -1;
  SetCellCode(game.board, column, row, game.easel.laid[entry].under);
  return code;
}

void ReturnLaidPieces(GameState& game) {
  EaselState& easel = game.easel;
  for (int i = 1; i <= kMaxLaidPieces; ++i) {
    LaidPiece& entry = easel.laid[i];
    if (entry.column == -1) continue;
    // Every laid Piece left a slot empty, so a free slot is always there; the lowest
    // one takes it, not necessarily the slot it came from.
    int slot = LowestFreeSlot(easel);
    int16_t code = CellCode(game.board, entry.column, entry.row);
    if (slot != 0 && IsPieceCode(code)) easel.slots[slot] = code;
    SetCellCode(game.board, entry.column, entry.row, entry.under);
    entry.column = -1;
  }
}

void LayOutEasel(EaselState& easel, int screenHeight) {
  int n = SlotCount(easel);
  easel.left = 512 - 26 * n;
  easel.right = 511 + 26 * n;
  easel.top = screenHeight - 62;
  easel.bottom = screenHeight;
}

}  // namespace qm
