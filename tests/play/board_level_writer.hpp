#pragma once
// Writes level files straight from the file layout, for the Board tests.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qm::test {

struct LevelBytes {
  std::string title;
  int16_t key[5] = {0, 0, 0, 0, 0};
  int w = 0, h = 0, startColumn = 0, startRow = 0;
  std::vector<std::vector<int16_t>> rows;  // rows[r][c]
  int16_t shading[7] = {1, 0, 0, 0, 200, 200, 200};
  int8_t objectives[20] = {};

  std::string Encode() const {
    std::string out;
    auto put16 = [&out](int v) {
      out += static_cast<char>(v & 0xFF);
      out += static_cast<char>((v >> 8) & 0xFF);
    };
    out += static_cast<char>(title.size());
    out += title;
    for (int16_t k : key) put16(k);
    int16_t rolling[5] = {key[0], key[1], key[2], key[3], key[4]};
    put16(w ^ rolling[1]);
    put16(h ^ rolling[2]);
    put16(startColumn ^ rolling[3]);
    put16(startRow ^ rolling[0]);
    int a = 2, b = 0;
    for (int y = 0; y <= h; ++y) {
      for (int x = 0; x <= w; ++x) {
        put16(rows[y][x] ^ rolling[a]);
        rolling[a] = static_cast<int16_t>(rolling[a] * 101 + x + y);
        rolling[a] = static_cast<int16_t>(rolling[a] ^ rolling[b]);
        a = (a + 1) % 5;
        b = (b + 1) % 5;
      }
    }
    for (int16_t v : shading) put16(v);
    for (int8_t v : objectives) out += static_cast<char>(v);
    return out;
  }
};

// A level of (w+1) x (h+1) Cells all of one code.
inline LevelBytes FilledLevel(int w, int h, int16_t code) {
  LevelBytes level;
  level.w = w;
  level.h = h;
  level.rows.assign(h + 1, std::vector<int16_t>(w + 1, code));
  return level;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace qm::test
