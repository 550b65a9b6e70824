#pragma once
// One picture file through LoadSpriteImage, then drawn every way the game draws sprites.
#include <cstddef>
#include <cstdint>

namespace qm::fuzz {

int LoadAndDrawPicture(const uint8_t* data, size_t size, const char* fileName);

}  // namespace qm::fuzz
