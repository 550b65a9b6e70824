#include "game/rules/Effects.hpp"

#include <algorithm>
#include <limits>

#include "engine/Clock.hpp"
#include "engine/Random.hpp"
#include "engine/Sound.hpp"
#include "engine/Text.hpp"
#include "game/play/Board.hpp"
#include "game/rules/Describe.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Objectives.hpp"

namespace qm {

namespace {

int64_t Saturate(__int128 value) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  if (value > kMax) return kMax;
  if (value < kMin) return kMin;
  return static_cast<int64_t>(value);
}

// score + score x percent div 100, exact in 128 bits, held within the 64-bit range.
int64_t ChangeByPercent(int64_t score, int64_t percent) {
  __int128 wide = score;
  return Saturate(wide + wide * percent / 100);
}

// A chance of p per cent succeeds when a draw of 0..100 is not greater than p.
bool ChanceSucceeds(EaselState& easel, int64_t percent) {
  return LevelRandomUpTo(easel, 100) <= percent;
}

int64_t EffectBonus(const GameState& game) {
  return game.players.effectBonus[0];
}

void ReplaceEveryCell(BoardState& board, int16_t from, int16_t to) {
  for (int c = 0; c <= board.w; ++c) {
    for (int r = 0; r <= board.h; ++r) {
      if (CellCode(board, c, r) == from) SetCellCode(board, c, r, to);
    }
  }
}

// Every other cell of a magic compartment group becomes a gold Piece of a random letter.
void FillMagicCompartments(BoardState& board, EaselState& easel, int16_t code) {
  for (int c = 0; c <= board.w; ++c) {
    for (int r = 0; r <= board.h; ++r) {
      if (CellCode(board, c, r) != code) continue;
      SetCellCode(board, c, r,
                  static_cast<int16_t>(kGoldPieceA + LevelRandomUpTo(easel, kLetterCount - 1)));
    }
  }
}

// Adds or removes one Easel slot, at most once per move: only while the slot count still
// equals the count of the last accepted move.
void ApplyBonusMalus(GameState& game, std::string& moveText) {
  EaselState& easel = game.easel;
  int n = easel.slots[0];
  if (n != easel.referenceSlotCount) return;
  int d = static_cast<int>(LevelRandomUpTo(easel, 1)) * 2 - 1;
  if (d == -1 && n != kFewestEaselSlots && n >= 1 && n <= kMaxEaselSlots &&
      IsPieceCode(easel.slots[n])) {
    // The Piece of the vanishing slot moves to the highest empty slot below it.
    for (int k = n - 1; k >= 1; --k) {
      if (easel.slots[k] == kEmptySlot) {
        easel.slots[k] = easel.slots[n];
        easel.slots[n] = kEmptySlot;
        break;
      }
    }
  }
  int newCount = std::clamp(n + d, kFewestEaselSlots, kMostEaselSlots);
  easel.slots[0] = static_cast<int16_t>(newCount);
  if (newCount != easel.referenceSlotCount) {
    if (newCount < easel.referenceSlotCount) {
      moveText += ":: A piece in less ";
    } else {
      moveText += ":: An extra piece ";
      easel.slots[newCount] = kEmptySlot;
    }
    // The cached Easel picture gets the frame tiles of the new end, at the position before
    // the change (one change per move at most: the slot count no longer equals the reference).
    easel.framePatch = EaselFramePatch{true, easel.left, easel.top, newCount};
  }
  LayOutEasel(easel, game.program.screenHeight);
}

// Star Material: every Piece of the Easel but the diamonds becomes that Material.
void ConvertToStarMaterial(EaselState& easel, int material) {
  int n = std::clamp<int>(easel.slots[0], 0, kMaxEaselSlots);
  for (int k = 1; k <= n; ++k) {
    int16_t code = easel.slots[k];
    if (IsPieceCode(code) && MaterialOf(code) != kDiamond)
      easel.slots[k] = PieceCodeOf(LetterIndexOf(code), material);
  }
}

}  // namespace

int64_t AddScore(int64_t a, int64_t b) {
  return Saturate(static_cast<__int128>(a) + b);
}

int64_t MultiplyScore(int64_t a, int64_t b) {
  return Saturate(static_cast<__int128>(a) * b);
}

int64_t PercentOfScore(int64_t score, int64_t percent) {
  // Exact in 128 bits; C++ division truncates toward zero as the game's percentages do.
  return Saturate(static_cast<__int128>(score) * percent / 100);
}

void RunMechanism(GameState& game, int column, int row, int16_t code) {
  BoardState& board = game.board;
  int64_t chance = MechanismChanceOf(code, EffectBonus(game));
  int diagonalShift = row % 2 == 0 ? -1 : 1;
  CellPos around[6];
  int count = 0;
  if (column > 0) around[count++] = {column - 1, row};
  if (column < board.w) around[count++] = {column + 1, row};
  if (row > 0) {
    around[count++] = {column, row - 1};
    around[count++] = {column + diagonalShift, row - 1};
  }
  if (row < board.h) {
    around[count++] = {column, row + 1};
    around[count++] = {column + diagonalShift, row + 1};
  }
  for (int i = 0; i < count; ++i) {
    CellPos pos = around[i];
    if (pos.column < 0 || pos.column > board.w) continue;
    int16_t wall = CellCode(board, pos.column, pos.row);
    if (!IsStanding(wall)) continue;
    if (ChanceSucceeds(game.easel, chance)) {
      SetCellCode(board, pos.column, pos.row,
                  static_cast<int16_t>(kOpenedCell +
                                       LevelRandomUpTo(game.easel, kLastOpenedCell - kOpenedCell)));
    }
  }
}

void ApplyCellEffect(GameState& game, int column, int row, int16_t under, std::string& moveText) {
  int64_t& score = game.players.scores[0];
  if (IsScoreIncrease(under)) {
    int64_t percent = IncreasePercentOf(under);
    score = ChangeByPercent(score, percent);
    moveText += ":: Score +" + DecimalText(percent) + "% ";
  } else if (IsReduction(under)) {
    int64_t percent = ReductionPercentOf(under) + EffectBonus(game);
    score = ChangeByPercent(score, -percent);
    moveText += ":: Score -" + DecimalText(percent) + "% ";
  } else if (IsMechanism(under)) {
    RunMechanism(game, column, row, under);
  } else if (IsBag(under)) {
    game.easel.valuableChance = static_cast<int8_t>(BagValuableChanceOf(under));
    FillPieceBag(game.easel);
    moveText += ":: +1 bag ";
  } else if (under == kEndBox) {
    // 0 means "still running", so the end is stamped at tick 1 at the earliest.
    game.play.endTick = std::max<uint32_t>(TickCount(), 1);
    moveText += ":: End of the Game ";
  } else if (under == kBonusMalus) {
    ApplyBonusMalus(game, moveText);
  } else if (under == kHundredPoints) {
    score = AddScore(score, kHundredPointsBonus);
    moveText += ":: +100 points ";
  } else if (IsStar(under)) {
    // Bronze, silver or gold; the last star wins.
    game.move.starMaterial =
        static_cast<int8_t>(kBronze + LevelRandomUpTo(game.easel, kGold - kBronze));
  } else if (IsCompartment(under)) {
    FillMagicCompartments(game.board, game.easel, under);
  } else if (IsKey(under)) {
    ReplaceEveryCell(game.board, LockOpenedBy(under), kOpenedCell);
  }
}

void AcceptMove(GameState& game) {
  MoveState& move = game.move;
  EaselState& easel = game.easel;
  PlaySoundEffect(kSoundAccepted);
  move.details += "TOTAL : " + DecimalText(move.moveTotal) + " pts ";
  ShowStatusLine(game, move.details);
  std::string moveText = move.details;
  move.starMaterial = 0;
  game.render.lastWordColumn.fill(-1);
  game.render.lastWordRow.fill(0);
  int64_t sumColumns = 0;
  int64_t sumRows = 0;
  int count = 0;
  for (int j = 1; j <= kMaxLaidPieces; ++j) {
    LaidPiece& laid = easel.laid[j];
    if (laid.column == -1) continue;
    sumColumns += laid.column;
    sumRows += laid.row;
    ++count;
    game.render.lastWordColumn[j] = laid.column;
    game.render.lastWordRow[j] = laid.row;
    int column = laid.column;
    int row = laid.row;
    int16_t under = laid.under;
    laid.column = -1;  // the Piece stays on the Board for good
    ApplyCellEffect(game, column, row, under, moveText);
  }
  easel.referenceSlotCount = easel.slots[0];
  if (count > 0) {
    int centreColumn = static_cast<int>(sumColumns / count);
    int centreRow = static_cast<int>(sumRows / count);
    game.board.revealColumn[1] = static_cast<int16_t>(centreColumn);
    game.board.revealRow[1] = static_cast<int16_t>(centreRow);
    if (game.board.shadePeriod <= 0)
      RevealAroundMove(game.board, centreColumn, centreRow, move.laidCount);
  }
  PushMoveHistory(game, moveText);
  // Percentage cells above acted on the score as it was before this move's points.
  game.players.scores[0] = AddScore(game.players.scores[0], move.moveTotal);
  RefillEasel(easel);
  if (move.starMaterial != 0) ConvertToStarMaterial(easel, move.starMaterial);
  for (const FoundWord& word : move.found) {
    CountWordForObjectives(game, static_cast<int>(TextLength(word.text)), word.material);
  }
  move.accepted = true;
}

}  // namespace qm
