#include "game/rules/Validate.hpp"

#include "engine/Sound.hpp"
#include "engine/Text.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Definitions.hpp"
#include "game/rules/Describe.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Effects.hpp"
#include "game/rules/Records.hpp"

namespace qm {

namespace {

bool PieceAt(const BoardState& board, CellPos pos) {
  return IsOnBoard(board, pos.column, pos.row) && IsPieceCode(CellCode(board, pos.column, pos.row));
}

// Puts every laid Piece back; only the refusal text stays (none for an empty turn).
void RefuseMove(GameState& game, const std::string& text) {
  if (!text.empty()) {
    ShowStatusLine(game, text);
    PlaySoundEffect(kSoundRefused);
  }
  game.move.accepted = false;
  ReturnLaidPieces(game);
}

// The axis whose word holds the most new Pieces; an earlier axis wins ties.
int ChooseMainAxis(const std::array<GatheredWord, 3>& words) {
  int best = kFallingDiagonal;
  for (int axis = kRow; axis <= kRisingDiagonal; ++axis) {
    if (words[axis].newPieces > words[best].newPieces) best = axis;
  }
  return best;
}

// The new Pieces lie in one gapless line: the main word holds them all and each of the
// two other words only its own.
bool IsSplit(const std::array<GatheredWord, 3>& words, int mainAxis, int laidCount) {
  for (int axis = kFallingDiagonal; axis <= kRisingDiagonal; ++axis) {
    int expected = axis == mainAxis ? laidCount : 1;
    if (words[axis].newPieces != expected) return true;
  }
  return false;
}

}  // namespace

GatheredWord GatherWord(GameState& game, int axis, int column, int row) {
  const BoardState& board = game.board;
  const EaselState& easel = game.easel;
  CellPos pos{column, row};
  while (PieceAt(board, pos)) pos = StepBack(axis, pos);
  GatheredWord word;
  pos = StepForward(axis, pos);
  while (PieceAt(board, pos)) {
    int code = CellCode(board, pos.column, pos.row);
    int64_t value = easel.pieceValue[code];
    word.letterSum += value;
    int material = MaterialOf(code);
    if (word.material == kMaterialUnknown) {
      word.material = material;
    } else if (word.material != material) {
      word.material = kMixedMaterial;
    }
    word.text += static_cast<char>('a' + LetterIndexOf(code));
    for (int i = 1; i <= kMaxLaidPieces; ++i) {
      const LaidPiece& laid = easel.laid[i];
      if (laid.column != pos.column || laid.row != pos.row) continue;
      int16_t under = laid.under;
      ++word.newPieces;
      if (IsWordMultiplier(under))
        word.wordFactor = MultiplyScore(word.wordFactor, WordFactorOf(under));
      if (under == kStartBox && game.move.laidCount > 1) game.move.attached = true;
      // The letter counts LetterFactorOf(under) times in all.
      if (IsLetterMultiplier(under)) word.letterSum += value * (LetterFactorOf(under) - 1);
    }
    pos = StepForward(axis, pos);
  }
  return word;
}

void ValidateMove(GameState& game) {
  MoveState& move = game.move;
  game.play.validationLatch = 1;
  ShowStatusLine(game, " Validation (Ask your word and confirm it) ");
  move.laidCount = LaidPieceCount(game.easel);
  move.accepted = false;
  move.found.clear();
  move.mainWord.clear();
  move.moveTotal = 0;
  move.details = " ";
  move.mainAxis = kAxisUnset;
  move.attached = false;
  if (move.laidCount == 0) {
    RefuseMove(game, "");
    return;
  }
  for (int i = 1; i <= kMaxLaidPieces; ++i) {
    const LaidPiece& laid = game.easel.laid[i];
    if (laid.column == -1) continue;
    for (int axis = kFallingDiagonal; axis <= kRisingDiagonal; ++axis) {
      move.words[axis] =
          axis == move.mainAxis ? GatheredWord{} : GatherWord(game, axis, laid.column, laid.row);
    }
    if (move.mainAxis == kAxisUnset && move.laidCount > 1) {
      move.mainAxis = ChooseMainAxis(move.words);
      if (IsSplit(move.words, move.mainAxis, move.laidCount)) {
        RefuseMove(game, " Error: Word split ");
        return;
      }
      std::string mainWord = move.words[move.mainAxis].text;
      if (LookUpWord(mainWord) != LookUp::kFound) {
        RefuseMove(game, " Error : " + move.words[move.mainAxis].text + " ");
        return;
      }
    }
    for (int axis = kFallingDiagonal; axis <= kRisingDiagonal; ++axis) {
      const GatheredWord& word = move.words[axis];
      std::string looked = word.text;
      if (LookUpWord(looked) != LookUp::kFound)
        continue;  // unknown cross words simply score nothing
      if (axis != move.mainAxis) move.attached = true;
      if (axis == move.mainAxis && TextLength(word.text) > move.laidCount) move.attached = true;
      int64_t score = MultiplyScore(word.letterSum, word.wordFactor);
      move.details += word.text + " : " + DecimalText(score) + " - ";
      move.moveTotal = AddScore(move.moveTotal, score);
      move.found.push_back(FoundWord{word.text, score, word.material});
      if (axis == move.mainAxis ||
          (move.mainAxis == kAxisUnset && word.text.size() > move.mainWord.size())) {
        move.mainWord = word.text;
      }
    }
  }
  if (!move.attached) {
    RefuseMove(game, " Error: Username does not attached ");
    return;
  }
  AcceptMove(game);
  NoteMoveAccepted(game);
  PushMoveDefinition(game);
}

}  // namespace qm
