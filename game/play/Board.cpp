#include "game/play/Board.hpp"

#include <algorithm>
#include <cmath>

#include "engine/Files.hpp"
#include "engine/Text.hpp"
#include "game/rules/Codes.hpp"

namespace qm {
namespace {

constexpr int kLevelSlot = 0;

int64_t CellIndex(const BoardState& board, int c, int r) {
  return int64_t{c} * (board.h + 1) + r;
}

// The one-Cell Board of code 0 at (0, 0), in fog mode, with no objectives.
void MakeOneCellBoard(BoardState& board) {
  board.title.clear();
  board.w = board.h = 0;
  board.cells.assign(1, 0);
  board.shade.assign(1, 0);
  board.startColumn = board.startRow = 0;
  board.shadePeriod = 0;
  board.shadeStep = {};
  board.baseTint = {};
  board.objectives = {};
}

// The file's bytes read in order; past the end every byte reads as 0, as a cut file does.
class LevelBytesReader {
 public:
  explicit LevelBytesReader(const std::string& bytes) : bytes_(bytes) {}
  int8_t Int8() { return static_cast<int8_t>(Byte()); }
  int16_t Int16() {
    uint8_t low = Byte();
    return static_cast<int16_t>(low | (Byte() << 8));
  }

 private:
  uint8_t Byte() { return pos_ < bytes_.size() ? static_cast<uint8_t>(bytes_[pos_++]) : 0; }
  const std::string& bytes_;
  size_t pos_ = 0;
};

void ReadTitle(BoardState& board, LevelBytesReader& in) {
  int n = in.Int8();
  board.title.clear();
  for (int k = 0; k < n; ++k) board.title += static_cast<char>(in.Int8());
}

// The cell codes, each under the rolling CellMask.
void ReadCells(BoardState& board, const std::array<int16_t, 5>& key, LevelBytesReader& in) {
  CellMask mask(key);
  for (int y = 0; y <= board.h; ++y) {
    for (int x = 0; x <= board.w; ++x) {
      int16_t v = in.Int16();
      board.cells[CellIndex(board, x, y)] = static_cast<int16_t>(v ^ mask.Current());
      mask.Step(x, y);
    }
  }
}

}  // namespace

bool IsOnBoard(const BoardState& board, int c, int r) {
  return c >= 0 && r >= 0 && c <= board.w && r <= board.h &&
         CellIndex(board, c, r) < static_cast<int64_t>(board.cells.size());
}

int16_t CellCode(const BoardState& board, int c, int r) {
  return IsOnBoard(board, c, r) ? board.cells[CellIndex(board, c, r)] : 0;
}

void SetCellCode(BoardState& board, int c, int r, int16_t code) {
  if (IsOnBoard(board, c, r)) board.cells[CellIndex(board, c, r)] = code;
}

int8_t ShadeOf(const BoardState& board, int c, int r) {
  if (!IsOnBoard(board, c, r)) return kHiddenShade;
  int64_t index = CellIndex(board, c, r);
  return index < static_cast<int64_t>(board.shade.size()) ? board.shade[index] : kHiddenShade;
}

std::string LevelMapPath(int level) {
  return "maps\\" + DecimalText(level);
}

LevelRead ReadLevelFile(BoardState& board, const std::string& path, int levelReached,
                        int screenWidth, int screenHeight) {
  std::string bytes;
  const bool opened = OpenFileForReading(kLevelSlot, path) != 0;
  while (opened && FileAtEnd(kLevelSlot) == 0) bytes += static_cast<char>(ReadInt8(kLevelSlot));
  CloseFileSlot(kLevelSlot);
  LevelRead result = ReadLevelBytes(board, bytes, levelReached, screenWidth, screenHeight);
  return opened ? result : LevelRead::kMissing;
}

LevelRead ReadLevelBytes(BoardState& board, const std::string& bytes, int levelReached,
                         int screenWidth, int screenHeight) {
  LevelBytesReader in(bytes);
  LevelRead result = LevelRead::kRead;
  ReadTitle(board, in);
  std::array<int16_t, 5> key{};
  for (int16_t& word : key) word = in.Int16();
  int16_t w = static_cast<int16_t>(in.Int16() ^ key[1]);
  int16_t h = static_cast<int16_t>(in.Int16() ^ key[2]);
  if (w < 0 || h < 0 || (int64_t{w} + 1) * (int64_t{h} + 1) > kMaxBoardCells) {
    // Unreadable: rather than allocate a negative or enormous Board, play the one-Cell Board.
    MakeOneCellBoard(board);
    result = LevelRead::kOversize;
  } else {
    board.w = w;
    board.h = h;
    size_t count = static_cast<size_t>((w + 1) * (h + 1));
    board.cells.assign(count, 0);
    board.shade.assign(count, 0);
    board.startColumn = static_cast<int16_t>(in.Int16() ^ key[3]);
    board.startRow = static_cast<int16_t>(in.Int16() ^ key[0]);
    ReadCells(board, key, in);
    board.shadePeriod = in.Int16();
    for (int32_t& v : board.shadeStep) v = in.Int16();
    for (int32_t& v : board.baseTint) v = in.Int16();
    board.objectives[0] = 0;
    for (int k = 1; k <= 20; ++k) board.objectives[k] = in.Int8();
  }
  // A Master plays each level with one more word to make in the first objective.
  if (levelReached > kLevelCount && board.objectives[1] > 0) {
    // Raised without wrapping: a target of 127 stays 127 rather than turning negative.
    for (int k : {1, 2})
      board.objectives[k] = static_cast<int8_t>(std::min(127, board.objectives[k] + 1));
  }

  board.cameraX = (screenWidth / 108 - board.startColumn) * kCellPitchX;
  board.cameraY = (screenHeight / 90 - board.startRow) * kCellPitchY;
  board.revealColumn.fill(board.startColumn);
  board.revealRow.fill(board.startRow);
  ComputeShadeMap(board);
  UpdateVisibleWindow(board);
  return result;
}

void LoadLevel(GameState& game, int level) {
  ReadLevelFile(game.board, LevelMapPath(level), game.players.levelsReached[0],
                game.program.screenWidth, game.program.screenHeight);
}

void ComputeShadeMap(BoardState& board) {
  int64_t count = (int64_t{board.w} + 1) * (int64_t{board.h} + 1);
  if (board.w < 0 || board.h < 0 || static_cast<int64_t>(board.cells.size()) < count) return;
  board.shade.assign(static_cast<size_t>(count), kHiddenShade);
  if (board.shadePeriod > 0) {
    int64_t period = board.shadePeriod;
    for (int x = 0; x <= board.w; ++x) {
      for (int y = 0; y <= board.h; ++y) {
        int64_t v = (x + y) % (4 * period);
        if (v > 2 * period - 1) v = 4 * period - v;
        // Shades are signed bytes: bands past 127 wrap to negative, brighter shades.
        board.shade[CellIndex(board, x, y)] = static_cast<int8_t>(v);
      }
    }
  } else {
    RevealAroundMove(board, board.startColumn, board.startRow, board.shadePeriod);
  }
  for (size_t k = 0; k < board.shade.size(); ++k) {
    if (IsCompartment(board.cells[k])) board.shade[k] = 0;  // always lit
  }
}

void RevealAroundMove(BoardState& board, int cx, int cy, int revealBase) {
  int64_t bonus = int64_t{revealBase} - board.shadePeriod;  // the RevealBonus R
  int64_t reach = bonus + 7;
  if (reach < 0) return;
  // Only Board Cells are visited, whatever the radius.
  int64_t top = std::max<int64_t>(0, cy - reach), bottom = std::min<int64_t>(board.h, cy + reach);
  int64_t left = std::max<int64_t>(0, cx - reach), right = std::min<int64_t>(board.w, cx + reach);
  for (int64_t y = top; y <= bottom; ++y) {
    for (int64_t x = left; x <= right; ++x) {
      int64_t index = CellIndex(board, static_cast<int>(x), static_cast<int>(y));
      if (index >= static_cast<int64_t>(board.shade.size())) continue;
      double dx = static_cast<double>(cx - x), dy = static_cast<double>(cy - y);
      int64_t d = static_cast<int64_t>(std::nearbyint(std::sqrt(dx * dx + dy * dy))) - bonus;
      if (d < 0) d = 0;
      int8_t& shade = board.shade[index];
      if (d < shade) shade = static_cast<int8_t>(d);
      if (shade > 6) shade = kHiddenShade;
    }
  }
}

}  // namespace qm
