#pragma once
// A frame that uses every way the engine draws: the five sprite draws (some partly off the
// screen), additive boxes, text in two fonts and both background modes, filled and outlined
// boxes, and a grab of the screen drawn back. Its pixels are compared with those the engine
// drew before the display could scale.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/Drawing.hpp"
#include "engine/Screen.hpp"

namespace qm::test {

// writePicture(slot, width, height, pixels 0x00RRGGBB) loads a picture into a sprite slot.
inline void DrawEveryKindOfDrawing(
    const std::function<void(int, int, int, const std::vector<uint32_t>&)>& writePicture) {
  const int w = 48;
  const int h = 40;
  std::vector<uint32_t> picture(size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool key = x >= 10 && x < 20 && y >= 10 && y < 20;
      picture[size_t(y) * w + x] = key ? 0
                                       : (uint32_t((x * 5) & 0xFF) << 16) |
                                             (uint32_t((y * 6) & 0xFF) << 8) |
                                             uint32_t(((x + y) * 3) & 0xFF);
    }
  }
  writePicture(1, w, h, picture);
  ClearFrame(RgbColour(12, 34, 56));
  DrawSprite(1, 5, 5);
  DrawSpriteKeyed(1, 60, 5);
  DrawSpriteFaded(1, 115, 5, 100);
  DrawSpriteTinted(1, 170, 5, 0x80FF40);
  DrawSpriteShadow(1, 225, 5);
  DrawSpriteKeyed(1, -20, 200);
  DrawSpriteFaded(1, 300, 220, 200);
  DrawAdditiveBox(0, 60, 320, 13, 10, 10, 100);
  DrawAdditiveBox(30, 50, 60, 60, 200, 0, 200);
  LoadFont(1, "Arial", 8);
  LoadFont(2, "Times New Roman", 30);
  BeginDrawing();
  SetDrawingMode(1);
  UseFont(FontHandleOf(1));
  DrawTextAt(10, 80, "Quillmosaica: Lv.+1 Good Echec", RgbColour(255, 255, 0));
  SetDrawingMode(0);
  SetTextBackColour(RgbColour(0, 0, 128));
  DrawTextAt(10, 100, "New player", RgbColour(0, 255, 0));
  SetDrawingMode(4);
  DrawBox(5, 120, 100, 30, RgbColour(255, 0, 0));
  SetDrawingMode(0);
  DrawBox(120, 120, 50, 20, RgbColour(0, 128, 255));
  SetDrawingMode(1);
  UseFont(FontHandleOf(2));
  DrawTextAt(150, 150, "Stars", RgbColour(230, 200, 120));
  EndDrawing();
  GrabScreenToSprite(2, 0, 0, 64, 64);
  DrawSpriteKeyed(2, 250, 160);
  DrawSpriteTinted(2, 180, 190, 0x4080FF);
}

// FNV-1a over the pixels.
inline uint64_t HashPixels(const std::vector<uint32_t>& pixels) {
  uint64_t hash = 1469598103934665603ull;
  for (uint32_t p : pixels) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (p >> shift) & 0xFF;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

}  // namespace qm::test
