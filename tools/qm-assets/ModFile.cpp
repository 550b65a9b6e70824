#include "ModFile.hpp"

#include <algorithm>
#include <cmath>

namespace qm::assets {

int ModPeriod(int note) {
  static constexpr std::array<int, kModNotes> kPeriods = {
      856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
      302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
  return kPeriods[static_cast<size_t>(std::clamp(note, 0, kModNotes - 1))];
}

std::vector<int8_t> ToModSample(const std::vector<float>& samples) {
  std::vector<int8_t> out;
  out.reserve(samples.size() + 1);
  for (float s : samples) {
    const long v = std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 127.0);
    out.push_back(static_cast<int8_t>(v));
  }
  if (out.size() % 2) out.push_back(0);
  return out;
}

namespace {
void PutText(std::vector<uint8_t>& out, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i)
    out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}
void PutWord(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
  out.push_back(static_cast<uint8_t>(value & 0xFF));
}
}  // namespace

std::vector<uint8_t> EncodeMod(const ModSong& song) {
  if (song.order.empty() || song.order.size() > 128 || song.patterns.empty() ||
      song.patterns.size() > 64) {
    return {};
  }
  std::vector<uint8_t> out;
  PutText(out, song.title, 20);
  for (const ModSample& s : song.samples) {
    if (s.data.size() % 2 || s.data.size() > 131070 || s.loopStart % 2 || s.loopLength % 2 ||
        s.loopStart + s.loopLength > static_cast<int>(s.data.size())) {
      return {};
    }
    PutText(out, s.name, 22);
    PutWord(out, static_cast<int>(s.data.size() / 2));
    out.push_back(0);  // finetune
    out.push_back(static_cast<uint8_t>(std::clamp(s.volume, 0, 64)));
    if (s.loopLength >= 4) {
      PutWord(out, s.loopStart / 2);
      PutWord(out, s.loopLength / 2);
    } else {
      PutWord(out, 0);
      PutWord(out, 1);  // the format's "no loop"
    }
  }
  out.push_back(static_cast<uint8_t>(song.order.size()));
  out.push_back(0);  // restart at the first position
  for (size_t i = 0; i < 128; ++i) {
    const int p = i < song.order.size() ? song.order[i] : 0;
    if (p < 0 || p >= static_cast<int>(song.patterns.size())) return {};
    out.push_back(static_cast<uint8_t>(p));
  }
  for (char c : std::string("M.K.")) out.push_back(static_cast<uint8_t>(c));
  for (const ModPattern& pattern : song.patterns) {
    for (const auto& row : pattern) {
      for (const ModCell& cell : row) {
        const int period = cell.note >= 0 ? ModPeriod(cell.note) : 0;
        const int sample = std::clamp(cell.sample, 0, 31);
        out.push_back(static_cast<uint8_t>((sample & 0xF0) | ((period >> 8) & 0x0F)));
        out.push_back(static_cast<uint8_t>(period & 0xFF));
        out.push_back(static_cast<uint8_t>(((sample & 0x0F) << 4) | (cell.effect & 0x0F)));
        out.push_back(static_cast<uint8_t>(cell.param & 0xFF));
      }
    }
  }
  for (const ModSample& s : song.samples) {
    for (int8_t v : s.data) out.push_back(static_cast<uint8_t>(v));
  }
  return out;
}

}  // namespace qm::assets
