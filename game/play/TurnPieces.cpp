#include "game/play/TurnPieces.hpp"

#include "game/play/Board.hpp"
#include "game/play/PlayCommon.hpp"
#include "game/rules/Easel.hpp"

namespace qm {

bool LayPiece(GameState& game, int slot, int column, int row) {
  EaselState& easel = game.easel;
  if (slot < 1 || slot > easel.slots[0] || !IsPieceCode(easel.slots[slot])) return false;
  if (!IsOnBoard(game.board, column, row)) return false;
  const int16_t under = CellCode(game.board, column, row);
  const int entry = FreeLaidEntry(easel);
  if (!AcceptsPiece(under) || entry == 0) return false;
  easel.laid[entry] = LaidPiece{static_cast<int16_t>(column), static_cast<int16_t>(row), under};
  SetCellCode(game.board, column, row, easel.slots[slot]);
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

}  // namespace qm
