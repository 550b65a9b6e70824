#pragma once
// Level files for the tests, written by the game's own level encoder with chosen key words.
#include <array>
#include <cstdint>
#include <fstream>
#include <string>

#include "game/level/LevelBinary.hpp"
#include "game/level/LevelSource.hpp"

namespace qm::test {

struct LevelBytes : level::Level {
  std::array<int16_t, 5> key{};
  std::string Encode() const { return level::EncodeLevel(*this, key); }
};

// A level of (w+1) x (h+1) Cells all of one code, in bands of period 1 at tint 200.
inline LevelBytes FilledLevel(int w, int h, int16_t code) {
  LevelBytes level;
  level.w = w;
  level.h = h;
  level.cells.assign(static_cast<size_t>(w + 1) * (h + 1), code);
  level.shadePeriod = 1;
  level.baseTint = {200, 200, 200};
  return level;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace qm::test
