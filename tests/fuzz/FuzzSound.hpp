#pragma once
// One sound effect file through LoadSoundEffect, then played at the rates the game uses.
#include <cstddef>
#include <cstdint>

namespace qm::fuzz {

int LoadAndPlaySound(const uint8_t* data, size_t size, const char* fileName);

}  // namespace qm::fuzz
