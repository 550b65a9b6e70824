#pragma once
// What every fuzz target shares: a private temporary folder for the files it feeds the
// loaders, and the headless engine devices (offscreen video, dummy audio).
#include <cstddef>
#include <cstdint>
#include <string>

namespace qm::fuzz {

// A folder of this process, made on first use and removed at exit.
const std::string& TempFolder();

// Writes the bytes to TempFolder()/name (replacing it) and returns the full path.
std::string WriteTempFile(const std::string& name, const uint8_t* data, size_t size);

// A sealed file (saved level, records) with its body length and checksum made right, so the
// fuzzer reaches the checks of the body and not only the seal's; shorter bytes as they are.
std::string Resealed(const std::string& bytes);

// Opens a small offscreen screen with the software renderer, once per process.
void StartHeadlessVideo();

// Starts the sound device on the dummy driver, once per process; from then on only
// MixAudio moves playback on.
void StartHeadlessAudio();

}  // namespace qm::fuzz
