#include "game/level/LevelBinary.hpp"

#include <filesystem>
#include <fstream>

#include "game/play/Board.hpp"

namespace qm::level {
namespace {

void Put16(std::string& out, int v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

uint64_t SplitMix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

std::array<int16_t, 5> KeysForName(const std::string& name) {
  uint64_t state = 0xCBF29CE484222325ULL;  // FNV-1a of the name seeds the generator
  for (unsigned char c : name) state = (state ^ c) * 0x100000001B3ULL;
  std::array<int16_t, 5> keys{};
  for (int16_t& k : keys) k = static_cast<int16_t>(SplitMix(state) >> 48);
  return keys;
}

std::string EncodeLevel(const Level& level, const std::array<int16_t, 5>& keys) {
  std::string out;
  out += static_cast<char>(level.title.size());
  out += level.title;
  for (int16_t k : keys) Put16(out, k);
  Put16(out, level.w ^ keys[1]);
  Put16(out, level.h ^ keys[2]);
  Put16(out, level.startColumn ^ keys[3]);
  Put16(out, level.startRow ^ keys[0]);
  CellMask mask(keys);
  for (int y = 0; y <= level.h; ++y) {
    for (int x = 0; x <= level.w; ++x) {
      Put16(out, level.At(x, y) ^ mask.Current());
      mask.Step(x, y);
    }
  }
  Put16(out, level.shadePeriod);
  for (int v : level.shadeStep) Put16(out, v);
  for (int v : level.baseTint) Put16(out, v);
  for (int v : level.objectives) out += static_cast<char>(v);
  return out;
}

DecodedLevel DecodeLevelFile(const std::string& path) {
  std::error_code ec;
  // An absolute path, so no game folder mapping applies to a tool's argument.
  std::string host = std::filesystem::absolute(path, ec).string();
  if (ec) host = path;
  std::ifstream in(host, std::ios::binary);
  if (!in) {
    DecodedLevel decoded = DecodeLevelBytes("");
    decoded.fault = FileFault::kMissing;
    decoded.fileSize = 0;
    return decoded;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeLevelBytes(bytes);
}

DecodedLevel DecodeLevelBytes(const std::string& bytes) {
  DecodedLevel decoded;
  LevelRead read = ReadLevelBytes(decoded.board, bytes, 1, 0, 0);
  const BoardState& board = decoded.board;
  Level& level = decoded.level;
  level.title = board.title;
  level.w = board.w;
  level.h = board.h;
  level.startColumn = board.startColumn;
  level.startRow = board.startRow;
  level.cells.resize(static_cast<size_t>(board.w + 1) * (board.h + 1));
  for (int r = 0; r <= board.h; ++r)
    for (int c = 0; c <= board.w; ++c)
      level.cells[static_cast<size_t>(r) * (board.w + 1) + c] = CellCode(board, c, r);
  level.shadePeriod = board.shadePeriod;
  for (int k = 0; k < 3; ++k) {
    level.shadeStep[k] = board.shadeStep[k];
    level.baseTint[k] = board.baseTint[k];
  }
  for (int k = 0; k < 20; ++k) level.objectives[k] = board.objectives[k + 1];

  decoded.fileSize = static_cast<int64_t>(bytes.size());
  if (read == LevelRead::kOversize) {
    decoded.fault = FileFault::kOversize;
    return decoded;
  }
  int8_t n = bytes.empty() ? 0 : static_cast<int8_t>(bytes[0]);
  int64_t cells = (int64_t{board.w} + 1) * (board.h + 1);
  decoded.expectedSize = 1 + (n > 0 ? n : 0) + 10 + 8 + 2 * cells + 14 + 20;
  if (decoded.fileSize < decoded.expectedSize) decoded.fault = FileFault::kTruncated;
  if (decoded.fileSize > decoded.expectedSize) decoded.fault = FileFault::kTrailing;
  return decoded;
}

std::string FileFaultText(const DecodedLevel& decoded) {
  switch (decoded.fault) {
    case FileFault::kNone:
      return "";
    case FileFault::kMissing:
      return "cannot be opened";
    case FileFault::kOversize:
      return "its size is negative or above 4194304 Cells (the game plays one Cell)";
    case FileFault::kTruncated:
      return "malformed: " + std::to_string(decoded.fileSize) + " bytes, the layout needs " +
             std::to_string(decoded.expectedSize) + " (the game reads zeros past the end)";
    case FileFault::kTrailing:
      return "malformed: " + std::to_string(decoded.fileSize - decoded.expectedSize) +
             " bytes after the objectives";
  }
  return "";
}

}  // namespace qm::level
