#include "tests/fuzz/FuzzPicture.hpp"

#include <cstdlib>

#include "engine/Screen.hpp"
#include "engine/TestHooks.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace qm::fuzz {

int LoadAndDrawPicture(const uint8_t* data, size_t size, const char* fileName) {
  StartHeadlessVideo();
  constexpr int kSlot = 7;
  std::string path = WriteTempFile(fileName, data, size);
  if (LoadSpriteImage(kSlot, path) == 0) {
    if (SpriteWidthOf(kSlot) != 0 || SpriteHeightOf(kSlot) != 0) std::abort();  // left empty
    return 0;
  }
  const int width = SpriteWidthOf(kSlot), height = SpriteHeightOf(kSlot);
  if (width <= 0 || height <= 0 || width > SpriteSizeLimit() || height > SpriteSizeLimit())
    std::abort();
  ClearFrame(0);
  DrawSprite(kSlot, 0, 0);
  DrawSpriteKeyed(kSlot, -width / 2, -height / 2);
  DrawSpriteFaded(kSlot, 3, 5, 128);
  DrawSpriteTinted(kSlot, 10, 10, 0x00FF8040);
  DrawSpriteShadow(kSlot, 319, 239);
  SetSpriteClip(kSlot, width / 3, height / 4, width, height);
  DrawSpriteKeyed(kSlot, 1, 1);
  SetSpriteClip(kSlot, -1, -1, -1, -1);
  if (SpriteWidthOf(kSlot) != width || SpriteHeightOf(kSlot) != height) std::abort();
  PresentFrame();
  FreeSpriteImage(kSlot);
  return 0;
}

}  // namespace qm::fuzz
