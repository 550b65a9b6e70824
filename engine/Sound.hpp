#pragma once
// Sound effects in numbered slots and looping tracker-module music.
#include <string>

namespace qm {

int InitSound();
int LoadSoundEffect(int slot, const std::string& path);
void PlaySoundEffect(int slot);
void SetSoundFrequency(int slot, int hertz);  // 0 = the file's own rate
int LoadMusicModule(int slot, const std::string& path);
int PlayMusicModule(int slot);
void StopMusicModule(int slot);  // -1 = all
void SetMusicModuleVolume(int slot, int volume);
void ShutdownSound();

}  // namespace qm
