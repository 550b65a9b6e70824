// Level sources (levels/NN.lvl) read by qm-level: a source that parses is written back and
// must parse to the same level, and its binary file must read back through the game's own
// reader to the same Board.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/level/LevelBinary.hpp"
#include "game/level/LevelSource.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace {

bool SameLevel(const qm::level::Level& a, const qm::level::Level& b) {
  return a.title == b.title && a.w == b.w && a.h == b.h && a.startColumn == b.startColumn &&
         a.startRow == b.startRow && a.cells == b.cells && a.shadePeriod == b.shadePeriod &&
         a.shadeStep == b.shadeStep && a.baseTint == b.baseTint && a.objectives == b.objectives;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm::level;
  std::string text(reinterpret_cast<const char*>(data), size);
  Level level;
  SourceError error;
  if (!ParseLevelSource(text, level, error)) return 0;
  if (level.w < 0 || level.h < 0) std::abort();
  if (level.cells.size() != static_cast<size_t>(level.w + 1) * static_cast<size_t>(level.h + 1))
    std::abort();
  // Large Boards are right but slow to write back; the small ones cover the same code.
  if (level.cells.size() > 65536) return 0;

  Level again;
  if (!ParseLevelSource(FormatLevelSource(level), again, error)) std::abort();
  if (!SameLevel(level, again)) std::abort();

  std::string bytes = EncodeLevel(level, KeysForName("fuzz"));
  std::string path = qm::fuzz::WriteTempFile(
      "maps/9", reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  DecodedLevel decoded = DecodeLevelFile(path);
  if (decoded.fault != FileFault::kNone) std::abort();
  if (!SameLevel(level, decoded.level)) std::abort();
  return 0;
}
