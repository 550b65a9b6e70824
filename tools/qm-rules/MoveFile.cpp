#include "MoveFile.hpp"

#include <cstdint>
#include <limits>

#include "engine/Files.hpp"
#include "engine/Random.hpp"
#include "engine/Text.hpp"
#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"
#include "game/rules/Validate.hpp"

namespace qm {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr int kToolScreenWidth = 1024;
constexpr int kToolScreenHeight = 768;

int64_t IntegerField(const json& move, const char* key, int64_t fallback, int64_t low,
                     int64_t high) {
  if (!move.contains(key)) return fallback;
  const json& value = move.at(key);
  if (!value.is_number_integer()) throw BadMove(std::string("\"") + key + "\" must be an integer");
  int64_t number = value.is_number_unsigned() && value.get<uint64_t>() > uint64_t(INT64_MAX)
                       ? INT64_MAX
                       : value.get<int64_t>();
  if (number < low || number > high) {
    throw BadMove(std::string("\"") + key + "\" must lie within " + std::to_string(low) + ".." +
                  std::to_string(high));
  }
  return number;
}

int64_t Element(const json& item, size_t index, const std::string& where, int64_t low,
                int64_t high) {
  const json& value = item.at(index);
  if (!value.is_number_integer()) throw BadMove(where + ": integers expected");
  int64_t number = value.is_number_unsigned() && value.get<uint64_t>() > uint64_t(INT64_MAX)
                       ? INT64_MAX
                       : value.get<int64_t>();
  if (number < low || number > high) {
    throw BadMove(where + ": " + std::to_string(number) + " is not within " + std::to_string(low) +
                  ".." + std::to_string(high));
  }
  return number;
}

// [[col, row, code], ...]
struct CellEntry {
  int column;
  int row;
  int16_t code;
};

std::vector<CellEntry> CellList(const json& move, const char* key, int64_t lowCode,
                                int64_t highCode) {
  std::vector<CellEntry> cells;
  if (!move.contains(key)) return cells;
  const json& list = move.at(key);
  if (!list.is_array())
    throw BadMove(std::string("\"") + key + "\" must be a list of [col, row, code]");
  for (size_t i = 0; i < list.size(); ++i) {
    std::string where = std::string("\"") + key + "\" entry " + std::to_string(i + 1);
    const json& item = list[i];
    if (!item.is_array() || item.size() != 3) throw BadMove(where + ": [col, row, code] expected");
    cells.push_back({static_cast<int>(Element(item, 0, where, INT32_MIN, INT32_MAX)),
                     static_cast<int>(Element(item, 1, where, INT32_MIN, INT32_MAX)),
                     static_cast<int16_t>(Element(item, 2, where, lowCode, highCode))});
  }
  return cells;
}

std::string Where(const CellEntry& cell) {
  return "(" + std::to_string(cell.column) + ", " + std::to_string(cell.row) + ")";
}

void LoadMoveLevel(GameState& game, const json& move) {
  LevelRead read;
  std::string name;
  if (move.contains("level_file")) {
    if (!move.at("level_file").is_string()) throw BadMove("\"level_file\" must be a path");
    name = move.at("level_file").get<std::string>();
    read = ReadLevelFile(game.board, name, game.players.levelsReached[0], kToolScreenWidth,
                         kToolScreenHeight);
  } else if (move.contains("level")) {
    name = LevelMapPath(game.menu.currentLevel);
    read = ReadLevelFile(game.board, name, game.players.levelsReached[0], kToolScreenWidth,
                         kToolScreenHeight);
  } else {
    throw BadMove("the move needs \"level\" or \"level_file\"");
  }
  if (read == LevelRead::kMissing)
    throw BadMove("level file " + HostPath(name) + " cannot be read");
  if (read == LevelRead::kOversize)
    throw BadMove("level file " + HostPath(name) + " has no usable Board");
}

void DealMoveEasel(GameState& game, const json& move) {
  EaselState& easel = game.easel;
  if (!move.contains("easel") || !move.at("easel").is_array()) {
    throw BadMove("\"easel\" must be a list of piece codes (" + std::to_string(kEmptySlot) +
                  " for an empty slot)");
  }
  const json& slots = move.at("easel");
  if (slots.empty() || slots.size() > static_cast<size_t>(kMaxEaselSlots)) {
    throw BadMove("\"easel\" must hold 1 to " + std::to_string(kMaxEaselSlots) + " slots");
  }
  easel.slots.fill(0);
  easel.slots[0] = static_cast<int16_t>(slots.size());
  for (size_t k = 0; k < slots.size(); ++k) {
    int64_t code = Element(slots, k, "\"easel\" slot " + std::to_string(k + 1), 1, kEmptySlot);
    if (!IsPieceCode(static_cast<int>(code)) && code != kEmptySlot) {
      throw BadMove("\"easel\" slot " + std::to_string(k + 1) + ": a piece code " +
                    std::to_string(kFirstPieceCode) + ".." + std::to_string(kLastPieceCode) +
                    " or " + std::to_string(kEmptySlot) + " expected");
    }
    easel.slots[k + 1] = static_cast<int16_t>(code);
  }
  easel.referenceSlotCount = easel.slots[0];
  LayOutEasel(easel, game.program.screenHeight);
}

void FillMoveBag(GameState& game, const json& move) {
  EaselState& easel = game.easel;
  easel.bag.assign(kBagCapacity + 1, 0);
  easel.valuableChance = 50;
  if (!move.contains("bag")) {
    FillPieceBag(easel);  // a fresh level's bag
    return;
  }
  const json& bag = move.at("bag");
  if (!bag.is_array() || bag.size() > static_cast<size_t>(kBagCapacity)) {
    throw BadMove("\"bag\" must be a list of at most 1700 piece codes");
  }
  for (size_t i = 0; i < bag.size(); ++i) {
    easel.bag[i + 1] = static_cast<int16_t>(
        Element(bag, i, "\"bag\" entry " + std::to_string(i + 1), kFirstPieceCode, kLastPieceCode));
  }
  easel.bag[0] = static_cast<int16_t>(bag.size());
}

// As the play loop lays a Piece: its Easel slot empties and the cell's code waits in
// the first free LaidPieces entry.
void LayListedPiece(GameState& game, const CellEntry& piece) {
  EaselState& easel = game.easel;
  if (!IsOnBoard(game.board, piece.column, piece.row))
    throw BadMove("Piece laid outside the Board at " + Where(piece));
  int16_t under = CellCode(game.board, piece.column, piece.row);
  if (!AcceptsPiece(under)) {
    throw BadMove("the cell at " + Where(piece) + " (code " + std::to_string(under) +
                  ") takes no Piece");
  }
  const int slot = SlotHolding(easel, piece.code);
  if (slot == 0) {
    throw BadMove("Piece " + std::to_string(piece.code) + " laid at " + Where(piece) +
                  " is not on the Easel");
  }
  if (FreeLaidEntry(easel) == 0) throw BadMove("more than 20 Pieces laid");
  LayPiece(game, slot, piece.column, piece.row);
}

}  // namespace

std::vector<int16_t> SetUpMove(GameState& game, const json& move) {
  if (!move.is_object()) throw BadMove("the move file must hold one JSON object");
  game.program.screenWidth = kToolScreenWidth;
  game.program.screenHeight = kToolScreenHeight;
  int64_t level = IntegerField(move, "level", 1, 1, INT32_MAX);
  game.menu.currentLevel = static_cast<int32_t>(level);
  game.players.levelsReached[0] =
      static_cast<uint8_t>(IntegerField(move, "level_reached", 1, 0, 255));
  game.players.scores[0] = IntegerField(move, "score", 0, INT64_MIN, INT64_MAX);
  game.players.effectBonus[0] =
      static_cast<int8_t>(IntegerField(move, "effect_bonus", 0, -128, 127));
  SeedRandom(static_cast<uint32_t>(IntegerField(move, "seed", 1, 0, UINT32_MAX)));

  std::string dictionary = "dico-english";
  if (move.contains("dict")) {
    if (!move.at("dict").is_string()) throw BadMove("\"dict\" must be a folder");
    dictionary = move.at("dict").get<std::string>();
  }
  MapGameFolder("dico-english", dictionary);

  LoadMoveLevel(game, move);
  BuildPieceTables(game.easel);
  DealMoveEasel(game, move);
  FillMoveBag(game, move);
  for (LaidPiece& laid : game.easel.laid) laid = LaidPiece{};
  game.render.lastWordColumn.fill(-1);

  for (const CellEntry& cell : CellList(move, "board", INT16_MIN, INT16_MAX)) {
    if (!IsOnBoard(game.board, cell.column, cell.row))
      throw BadMove("\"board\" cell outside the Board at " + Where(cell));
    SetCellCode(game.board, cell.column, cell.row, cell.code);
  }
  std::vector<int16_t> before = game.board.cells;
  std::vector<CellEntry> lay = CellList(move, "lay", kFirstPieceCode, kLastPieceCode);
  for (const CellEntry& piece : lay) LayListedPiece(game, piece);
  return before;
}

ordered_json EvaluateMove(GameState& game, const std::vector<int16_t>& before) {
  ValidateMove(game);
  ordered_json out;
  out["accepted"] = game.move.accepted;
  out["status"] = Cp1252ToUtf8(game.status.text);
  out["score"] = game.players.scores[0];
  out["move_total"] = game.move.moveTotal;
  ordered_json words = ordered_json::array();
  for (const FoundWord& word : game.move.found) words.push_back({word.text, word.score});
  out["words"] = words;
  ordered_json easel = ordered_json::array();
  for (int k = 1; k <= game.easel.slots[0]; ++k)
    easel.push_back(static_cast<int>(game.easel.slots[k]));
  out["easel"] = easel;
  ordered_json changes = ordered_json::array();
  for (int r = 0; r <= game.board.h; ++r) {
    for (int c = 0; c <= game.board.w; ++c) {
      size_t index = static_cast<size_t>(c) * (game.board.h + 1) + r;
      int16_t code = CellCode(game.board, c, r);
      if (index < before.size() && before[index] != code)
        changes.push_back({c, r, static_cast<int>(code)});
    }
  }
  out["board_changes"] = changes;
  out["end"] = game.play.endTick != 0;
  out["history0"] = Cp1252ToUtf8(game.chat.moveHistory[0].text);
  ordered_json progress = ordered_json::array();
  for (int k : {1, 3, 5, 7}) progress.push_back(static_cast<int>(game.objectives.progress[k]));
  out["progress"] = progress;
  return out;
}

}  // namespace qm
