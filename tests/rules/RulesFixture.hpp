#pragma once
// Small Boards, dictionaries and laid Pieces for the rules tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Files.hpp"
#include "engine/Random.hpp"
#include "game/GameState.hpp"
#include "game/play/Board.hpp"
#include "game/rules/Easel.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::test {

// Writes the words in the game's layout: "dico-" + first letter + length, each line the
// word without its first letter.
inline void WriteDictionary(const std::string& folder, const std::vector<std::string>& words) {
  std::map<std::string, std::string> files;
  for (const std::string& word : words) {
    files["dico-" + word.substr(0, 1) + std::to_string(word.size())] += word.substr(1) + "\r\n";
  }
  for (const auto& [name, text] : files) {
    std::ofstream(folder + "/" + name, std::ios::binary) << text;
  }
}

// A dictionary folder mapped as "dico-english" for the life of the object.
class Dictionary {
 public:
  explicit Dictionary(const std::vector<std::string>& words) {
    WriteDictionary(folder_.path(), words);
    MapGameFolder("dico-english", folder_.path());
  }
  ~Dictionary() { MapGameFolder("dico-english", ""); }
  const std::string& Path() const { return folder_.path(); }

 private:
  TempFolder folder_;
};

// A Board of (w + 1) x (h + 1) soil cells, in bands (no fog), with the Piece tables built
// and an Easel of the given Pieces.
inline std::unique_ptr<GameState> MakeGame(int w, int h, std::vector<int16_t> easel,
                                           int16_t soil = 157) {
  auto game = std::make_unique<GameState>();
  BoardState& board = game->board;
  board.w = static_cast<int16_t>(w);
  board.h = static_cast<int16_t>(h);
  board.cells.assign(static_cast<size_t>((w + 1) * (h + 1)), soil);
  board.shade.assign(board.cells.size(), 0);
  board.shadePeriod = 1;
  game->program.screenWidth = 1024;
  game->program.screenHeight = 768;
  BuildPieceTables(game->easel);
  game->easel.bag.assign(kBagCapacity + 1, 0);
  game->easel.slots.fill(0);
  game->easel.slots[0] = static_cast<int16_t>(easel.size());
  for (size_t k = 0; k < easel.size(); ++k) game->easel.slots[k + 1] = easel[k];
  game->easel.referenceSlotCount = game->easel.slots[0];
  LayOutEasel(game->easel, game->program.screenHeight);
  game->render.lastWordColumn.fill(-1);
  game->menu.currentLevel = 1;
  return game;
}

// Piece codes: plastic letter, or a letter in a Material.
inline int16_t P(char letter, int material = kPlastic) {
  return PieceCodeOf(letter - 'a', material);
}

// Lays a Piece as the play loop does: its Easel slot (the first holding that code) empties
// and the cell's code waits in the first free LaidPieces entry.
inline void Lay(GameState& game, int column, int row, int16_t code) {
  const int slot = SlotHolding(game.easel, code);
  ASSERT_NE(slot, 0) << "code " << code << " is not on the Easel";
  ASSERT_TRUE(LayPiece(game, slot, column, row)) << "at " << column << "," << row;
}

// Places a word of Pieces already fixed on the Board (an earlier turn), along the row.
inline void PutRow(GameState& game, int column, int row, const std::string& word,
                   int material = kPlastic) {
  for (size_t i = 0; i < word.size(); ++i) {
    SetCellCode(game.board, column + static_cast<int>(i), row, P(word[i], material));
  }
}

}  // namespace qm::test
