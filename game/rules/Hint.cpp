#include "game/rules/Hint.hpp"

#include <memory>

#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"

namespace qm {

namespace {

int LowestEmptySlot(const EaselState& easel) {
  for (int k = 1; k <= easel.slots[0] && k <= kMaxEaselSlots; ++k) {
    if (easel.slots[k] == kEmptySlot) return k;
  }
  return 0;
}

}  // namespace

void TakeBackForHint(GameState& game) {
  EaselState& easel = game.easel;
  for (int i = 1; i <= kMaxLaidPieces; ++i) {
    LaidPiece& entry = easel.laid[i];
    if (entry.column == -1) continue;
    int16_t code = CellCode(game.board, entry.column, entry.row);
    int slot = LowestEmptySlot(easel);
    if (slot != 0 && IsPieceCode(code)) easel.slots[slot] = code;
    SetCellCode(game.board, entry.column, entry.row, entry.under);
    entry.column = -1;
  }
  // A Piece in the player's hand is still theirs to play.
  PlayState& play = game.play;
  if (play.dragState == 1 && IsPieceCode(play.carriedCode)) {
    int slot = LowestEmptySlot(easel);
    if (slot != 0) easel.slots[slot] = play.carriedCode;
    play.carriedCode = 0;
    play.dragState = 0;
  }
}

std::vector<Candidate> FindHintMoves(const GameState& game, const Lexicon& lexicon) {
  BoardLines lines = BuildLines(game.board);
  Needs needs = JudgeNeeds(game, game.menu.currentLevel);
  SearchOptions options;  // only the Cells the player can see, as the bot plays
  return FindMoves(game, lines, lexicon, needs, options);
}

Hint FindHint(const GameState& game, const Lexicon& lexicon) {
  auto copy = std::make_unique<GameState>(game);
  TakeBackForHint(*copy);
  std::vector<Candidate> moves = FindHintMoves(*copy, lexicon);
  Hint hint;
  if (moves.empty()) return hint;
  hint.found = true;
  hint.pieces = moves.front().pieces;
  hint.word = moves.front().word;
  hint.points = moves.front().points;
  return hint;
}

}  // namespace qm
