// ValidateMove of a typical accepted turn and LookUpWord, on the real dictionary files.
#include <string>

#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/play/Render.hpp"
#include "game/rules/Dictionary.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Validate.hpp"
#include "tools/qm-bench/Bench.hpp"
#include "tools/qm-bench/Stats.hpp"

namespace qm::bench {
namespace {

int16_t PlasticPiece(char letter) {
  return static_cast<int16_t>(letter - 'a' + 1);
}

// Puts a word's Pieces on the Board along an axis so that its letter `at` lies on `through`
// (that letter itself is left to the caller).
void PlaceCrossWord(BoardState& board, const std::string& word, int axis, CellPos through, int at) {
  CellPos pos = through;
  for (int i = 0; i < at; ++i) pos = StepBack(axis, pos);
  for (int i = 0; i < static_cast<int>(word.size()); ++i, pos = StepForward(axis, pos)) {
    if (i != at)
      SetCellCode(board, pos.column, pos.row, PlasticPiece(word[static_cast<size_t>(i)]));
  }
}

// HOUSE laid along a row left of the start box; ASH (ending on its H, along the falling
// diagonal) and EAT (starting on its E, along the rising diagonal) lie on the Board already,
// so the turn is attached through two known cross words.
GameState MoveToValidate(const GameState& started) {
  GameState game = started;
  BoardState& board = game.board;
  const CellPos first{board.startColumn - 6, board.startRow - 3};
  const std::string main = "house";
  for (int k = 1; k <= 20; ++k) game.easel.laid[k] = LaidPiece{-1, 0, 0};
  for (int i = 0; i < 5; ++i) {
    const int column = first.column + i;
    game.easel.laid[i + 1] =
        LaidPiece{static_cast<int16_t>(column), static_cast<int16_t>(first.row),
                  CellCode(board, column, first.row)};
    SetCellCode(board, column, first.row, PlasticPiece(main[static_cast<size_t>(i)]));
    game.easel.slots[i + 1] = kEmptySlot;
  }
  PlaceCrossWord(board, "ash", kFallingDiagonal, first, 2);
  PlaceCrossWord(board, "eat", kRisingDiagonal, CellPos{first.column + 4, first.row}, 0);
  return game;
}

}  // namespace

void MeasureRules(const Options& options, GameState& game, Report& report) {
  const GameState prepared = MoveToValidate(game);
  std::vector<double> times;
  std::string words;
  bool accepted = true;
  for (int i = 0; i < options.validations; ++i) {
    GameState work = prepared;  // copied outside the timing
    const auto start = WallClock::now();
    ValidateMove(work);
    DrawEasel(work);  // as the play screen does after every turn
    times.push_back(MicrosecondsSince(start));
    accepted = accepted && work.move.accepted;
    if (i == 0) {
      for (const FoundWord& found : work.move.found)
        words += (words.empty() ? "" : ", ") + found.text;
    }
  }
  const double validate = Median(times);
  report.Add("validate_us", validate, "us", "<= 500", validate <= 500);
  report.notes.push_back(
      "validate_us: median of " + std::to_string(times.size()) +
      " ValidateMove calls of a 5-Piece move, words found: " + words +
      (accepted ? " (accepted)" : " (NOT accepted: the dictionary lacks a word)"));

  auto timeLookUps = [&](const std::string& word, LookUp expected, const std::string& name) {
    std::vector<double> samples;
    bool asExpected = true;
    for (int i = 0; i < options.lookups; ++i) {
      std::string text = word;
      const auto start = WallClock::now();
      LookUp result = LookUpWord(text);
      samples.push_back(MicrosecondsSince(start));
      asExpected = asExpected && result == expected;
    }
    report.Add(name, Median(samples), "us");
    if (!asExpected)
      report.notes.push_back(name + ": \"" + word + "\" did not give the expected answer");
  };
  // Both words are in the same file (five letters starting with h): a miss reads it all.
  timeLookUps("house", LookUp::kFound, "lookup_found_us");
  timeLookUps("houzq", LookUp::kNotFound, "lookup_missing_us");
}

}  // namespace qm::bench
