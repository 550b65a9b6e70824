#include "game/play/PlayCommon.hpp"

#include <cmath>

#include "engine/Sound.hpp"
#include "game/rules/Codes.hpp"

namespace qm {

void PlayClick(int hertz) {
  PlaySoundEffect(kClickSound);
  SetSoundFrequency(kClickSound, hertz);
}

int EaselSlotAt(const EaselState& easel, int x, int y) {
  if (x < easel.left || x > easel.right || y < easel.top || y > easel.bottom) return 0;
  int slot = (x - easel.left) / kEaselSlotWidth + 1;
  if (slot < 1 || slot > easel.slots[0]) return 0;
  return slot;
}

uint32_t StatusTick(uint32_t tick) {
  return tick < 2 ? 2 : tick;
}

int RoundHalfEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

std::string LeftPart(const std::string& text, int64_t count) {
  if (count <= 0) return {};
  return text.substr(0, static_cast<size_t>(count));
}

std::string RightPart(const std::string& text, int64_t count) {
  if (count <= 0) return {};
  if (static_cast<size_t>(count) >= text.size()) return text;
  return text.substr(text.size() - static_cast<size_t>(count));
}

}  // namespace qm
