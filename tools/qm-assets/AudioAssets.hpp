#pragma once
// The game's sound effects (sfx/) and music modules (zik/), synthesised from scratch.
#include <string>

namespace qm::assets {

// Write sfx/1.wav 2.wav 3.wav 4.wav and sfx/6.ogg 13.ogg 17.ogg 18.ogg under outDir.
// Returns false (and says why on stderr) when a file cannot be written.
bool WriteSoundEffects(const std::string& outDir);

// Write zik/0.mod (the menu theme) .. zik/12.mod (the level tracks) under outDir.
bool WriteMusicModules(const std::string& outDir);

}  // namespace qm::assets
