#include "tests/fuzz/FuzzSupport.hpp"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/Clock.hpp"
#include "engine/Screen.hpp"
#include "engine/SealedFile.hpp"
#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"

namespace qm::fuzz {
namespace {

struct Folder {
  std::string path;
  Folder() {
    // In memory when possible: the profile saves sync every file they write.
    std::error_code ec;
    std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0
            ? std::filesystem::path("/dev/shm")
            : std::filesystem::temp_directory_path();
    std::string pattern = (base / "qm-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

const std::string& TempFolder() {
  static Folder folder;
  return folder.path;
}

std::string WriteTempFile(const std::string& name, const uint8_t* data, size_t size) {
  std::string path = TempFolder() + "/" + name;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

void StartHeadlessVideo() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  UseVirtualClock(true);  // presents move a virtual clock instead of sleeping
  SetHeadlessScreenSize(320, 240);
  if (InitSprite() == 0 || OpenGameScreen("Quillmosaica2") == 0) std::abort();
}

void StartHeadlessAudio() {
  static bool started = false;
  if (started) return;
  started = true;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (InitSound() == 0) std::abort();
  MixAudioForTest(nullptr, 0);
}

std::string Resealed(const std::string& bytes) {
  if (bytes.size() < kSealHeaderBytes) return bytes;
  std::string out = bytes;
  auto put = [&out](size_t at, uint64_t value, int count) {
    for (int k = 0; k < count; ++k)
      out[at + static_cast<size_t>(k)] = static_cast<char>(value >> (8 * k));
  };
  const size_t length = bytes.size() - kSealHeaderBytes;
  put(12, length, 4);
  put(16, HashBytes(bytes.data() + kSealHeaderBytes, length), 8);
  return out;
}

}  // namespace qm::fuzz
