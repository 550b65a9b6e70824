#pragma once
// A level as its author writes it: the text form of levels/NN.lvl, read and written.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::level {

struct Level {
  std::string title;  // Windows-1252 bytes, at most 127
  int w = 0, h = 0;   // highest column and row index
  int startColumn = 0, startRow = 0;
  std::vector<int16_t> cells;  // row by row: index = row * (w + 1) + column
  int shadePeriod = 1;
  std::array<int, 3> shadeStep{}, baseTint{};
  std::array<int, 20> objectives{};

  int16_t At(int c, int r) const { return cells[static_cast<size_t>(r) * (w + 1) + c]; }
};

struct SourceError {
  int line = 0;  // 0: the whole file
  std::string message;
};

// Parses level source text; false with the first fault in error.
bool ParseLevelSource(const std::string& text, Level& level, SourceError& error);

// Writes a level as source text that parses back to the same level.
std::string FormatLevelSource(const Level& level);

// What a cell code is, in a few words (for legends).
std::string CellCodeName(int code);

}  // namespace qm::level
