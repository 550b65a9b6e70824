#pragma once
// The binary level file: written from a Level, and read back through the game's own reader.
#include <array>
#include <cstdint>
#include <string>

#include "game/GameState.hpp"
#include "game/level/LevelSource.hpp"

namespace qm::level {

// Five key words drawn from a generator seeded by the file name: same name, same bytes.
std::array<int16_t, 5> KeysForName(const std::string& name);

// The file's bytes: title, keys, scrambled size, start and cells, shading, objectives.
std::string EncodeLevel(const Level& level, const std::array<int16_t, 5>& keys);

enum class FileFault {
  kNone,
  kMissing,    // cannot be opened
  kOversize,   // W or H below 0 or more than 4,194,304 Cells: the game plays one Cell
  kTruncated,  // ends before its objectives; the game reads zeros past the end
  kTrailing,   // bytes after the objectives
};

struct DecodedLevel {
  Level level;
  BoardState board;  // as the game holds it after loading, ShadeMap included
  FileFault fault = FileFault::kNone;
  int64_t fileSize = 0, expectedSize = 0;
};

// Reads a level file as the game does for a player whose level reached is 1.
DecodedLevel DecodeLevelFile(const std::string& path);

// The same from a file's bytes in memory (never kMissing).
DecodedLevel DecodeLevelBytes(const std::string& bytes);

std::string FileFaultText(const DecodedLevel& decoded);

}  // namespace qm::level
