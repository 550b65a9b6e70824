#include "game/bot/Autoplay.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <utility>

#include "engine/Random.hpp"
#include "game/GameState.hpp"
#include "game/play/Board.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/MoveSearch.hpp"
#include "game/rules/Objectives.hpp"
#include "game/rules/Validate.hpp"

namespace qm::autoplay {

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kTriesPerTurn = 4;

// The level start: a fresh bag, the deal, no Piece laid.
void StartSeed(GameState& game, const PlayOptions& options) {
  // No screen width: the bot reads no chat, so no chat line is measured and no font opened
  // (a font opened on a proving thread would race the frame loop's).
  game.program.screenWidth = 0;
  game.program.screenHeight = kScreenHeight;
  game.menu.currentLevel = options.level;
  game.players.levelsReached[0] = static_cast<uint8_t>(options.levelReached);
  game.players.scores[0] = options.startScore;
  BuildPieceTables(game.easel);
  game.easel.carriedSlotCount = static_cast<int16_t>(options.easelSlots);
  ResetLevelRules(game);
  LayOutEasel(game.easel, kScreenHeight);
}

bool LayPlacement(GameState& game, const Placement& piece) {
  return LayPiece(game, SlotHolding(game.easel, piece.code), piece.column, piece.row);
}

// An exchange token: the marked slots change places with random Pieces of the bag.
void Exchange(GameState& game, const Needs& needs) {
  EaselState& easel = game.easel;
  for (int k = 1; k <= easel.slots[0]; ++k) {
    int16_t code = easel.slots[k];
    if (!IsPieceCode(code)) continue;
    int m = MaterialOf(code);
    // Keep the Pieces an objective of their Material still needs.
    if (m >= kSilver && m <= kDiamond && needs.materialLeft[m - kSilver] > 0) continue;
    if (!SwapWithBag(easel, k)) break;
  }
}

// An open cell next to a laid Piece that no move covers for three turns in a row counts
// as a dead end for the way finding.
void NoteStalls(const BoardState& board, std::vector<uint8_t>& coverable, std::vector<int>& stall,
                std::vector<uint8_t>& stuck) {
  for (int c = 0; c <= board.w; ++c) {
    for (int r = 0; r <= board.h; ++r) {
      size_t index = static_cast<size_t>(c) * (board.h + 1) + static_cast<size_t>(r);
      if (!AcceptsPiece(CellCode(board, c, r))) continue;
      bool besidePiece = false;
      for (CellPos n : Neighbours({c, r}))
        besidePiece = besidePiece || HoldsPiece(CellCode(board, n.column, n.row));
      if (!besidePiece || coverable[index]) {
        stall[index] = 0;
      } else if (++stall[index] >= 3) {
        stuck[index] = 1;
      }
    }
  }
  std::fill(coverable.begin(), coverable.end(), 0);
}

std::string Describe(const Candidate& cand) {
  std::string text = cand.word + " at";
  for (const Placement& p : cand.pieces) {
    text += " (" + std::to_string(p.column) + "," + std::to_string(p.row) + ")";
  }
  return text;
}

}  // namespace

SeedResult PlaySeed(const PlayOptions& options, const Lexicon& lexicon, uint32_t seed) {
  auto game = std::make_unique<GameState>();
  SeedResult result;
  SeedRandom(seed);
  if (options.levelBytes.empty()) {
    ReadLevelFile(game->board, options.levelPath, options.levelReached, kScreenWidth,
                  kScreenHeight);
  } else {
    ReadLevelBytes(game->board, options.levelBytes, options.levelReached, kScreenWidth,
                   kScreenHeight);
  }
  StartSeed(*game, options);
  BoardLines lines = BuildLines(game->board);
  int tokens = kExchangeTokens;
  SearchOptions search;
  // Open cells beside the laid words that no move could cover, turn after turn.
  const size_t cellCount = game->board.cells.size();
  std::vector<int> stall(cellCount, 0);
  std::vector<uint8_t> stuck(cellCount, 0), coverable(cellCount, 0);
  search.stuck = &stuck;
  search.coverable = &coverable;

  while (result.moves < options.maxMoves && game->play.endTick == 0) {
    Needs needs = JudgeNeeds(*game, options.level);
    auto begin = std::chrono::steady_clock::now();
    std::vector<Candidate> moves = FindMoves(*game, lines, lexicon, needs, search);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    result.slowestSearchMs = std::max(result.slowestSearchMs, ms);
    NoteStalls(game->board, coverable, stall, stuck);
    bool accepted = false;
    for (int t = 0; t < kTriesPerTurn && t < static_cast<int>(moves.size()) && !accepted; ++t) {
      const Candidate& cand = moves[t];
      bool laidAll = true;
      for (const Placement& p : cand.pieces) laidAll = LayPlacement(*game, p) && laidAll;
      ValidateMove(*game);  // refuses and takes the Pieces back when anything is wrong
      accepted = laidAll && game->move.accepted;
      if (!accepted) {
        ++result.refusals;
        if (options.verbose) std::printf("    refused: %s\n", Describe(cand).c_str());
        continue;
      }
      ++result.moves;
      if (options.verbose) {
        std::printf("    %3d %-40s %6lld pts  value %.0f  (%.0f ms)\n", result.moves,
                    Describe(cand).c_str(), static_cast<long long>(game->move.moveTotal),
                    cand.value, ms);
      }
    }
    if (accepted) continue;
    if (tokens == 0) {
      result.stop = moves.empty() ? "no move left and no exchange token" : "every move refused";
      break;
    }
    --tokens;
    ++result.exchanges;
    Exchange(*game, needs);
    if (options.verbose) std::printf("    exchange (%d token(s) left)\n", tokens);
  }
  if (game->play.endTick == 0 && result.stop.empty()) result.stop = "move cap reached";
  result.endReached = game->play.endTick != 0;
  const ObjectiveTally tally = JudgeObjectives(*game);
  result.objectiveCount = tally.count;
  result.objectivesMet = tally.met;
  result.won = result.endReached && result.objectivesMet == result.objectiveCount;
  result.score = game->players.scores[0] - options.startScore;
  return result;
}

}  // namespace qm::autoplay
