#include "tests/fuzz/FuzzSupport.hpp"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/Clock.hpp"
#include "engine/Screen.hpp"
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

}  // namespace qm::fuzz
