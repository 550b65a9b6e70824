#pragma once
// The Board of the current level: its Cells, shading and fog, read from a level file.
#include <array>
#include <cstdint>
#include <string>

#include "game/GameState.hpp"
#include "game/play/HexGrid.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

// Largest Board a level file may describe (2048 x 2048 Cells); larger ones read as unreadable.
constexpr int64_t kMaxBoardCells = 4194304;
constexpr int8_t kHiddenShade = 127;

bool IsOnBoard(const BoardState& board, int c, int r);
int16_t CellCode(const BoardState& board, int c, int r);          // 0 off the Board
void SetCellCode(BoardState& board, int c, int r, int16_t code);  // ignored off the Board
int8_t ShadeOf(const BoardState& board, int c, int r);            // hidden (127) off the Board

// The rolling mask of a level file's cell codes, the same for the writer and the reader: it
// depends on the Cell's position and on every Cell before it. Cells run row by row.
class CellMask {
 public:
  explicit CellMask(const std::array<int16_t, 5>& key) : key_(key) {}
  int16_t Current() const { return key_[a_]; }
  // Steps past the Cell (x, y) just masked with Current().
  void Step(int x, int y) {
    key_[a_] = static_cast<int16_t>(int32_t{key_[a_]} * 101 + x + y);
    key_[a_] = static_cast<int16_t>(key_[a_] ^ key_[b_]);
    a_ = (a_ + 1) % 5;
    b_ = (b_ + 1) % 5;
  }

 private:
  std::array<int16_t, 5> key_;
  int a_ = 2, b_ = 0;  // two apart, so they never name the same key word
};

// How a level file read went.
enum class LevelRead {
  kRead,      // read (a file that ends early reads zeros past its end)
  kMissing,   // no such file: the one-Cell Board
  kOversize,  // W or H below 0, or more than kMaxBoardCells Cells: the one-Cell Board
};

// The game path of a level's file, "maps\N".
std::string LevelMapPath(int level);

// Reads a level file into the Board through file slot 0, exactly as LoadLevel does, then
// computes its ShadeMap and visible window. levelReached > 44 (a Master) raises objectives
// 1 and 2. Tools use it with a host path and no running game.
LevelRead ReadLevelFile(BoardState& board, const std::string& path, int levelReached,
                        int screenWidth, int screenHeight);

// The same from the file's bytes in memory (a generated level, or one being proven on a
// worker thread): no file slot is used. A missing file is not told apart from empty bytes.
LevelRead ReadLevelBytes(BoardState& board, const std::string& bytes, int levelReached,
                         int screenWidth, int screenHeight);

// Reads "maps\N" for the running player and screen.
void LoadLevel(GameState& game, int level);

// Shading bands (ShadePeriod > 0) or fog lifted around the StartCell; magic compartments lit.
void ComputeShadeMap(BoardState& board);

// Lifts the fog within (revealBase - ShadePeriod) + 6 of the centre, darkest at the rim.
void RevealAroundMove(BoardState& board, int cx, int cy, int revealBase);

}  // namespace qm
