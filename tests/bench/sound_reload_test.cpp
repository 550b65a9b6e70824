// A level start loads its sound files again: a file that did not change gives the same
// fresh sound, and a file that changed is decoded anew (never an earlier copy).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/Files.hpp"
#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"

namespace qm::test {
namespace {

// A short mono 16-bit RIFF WAVE at the given rate.
void WriteWave(const std::filesystem::path& path, uint32_t rate) {
  const uint32_t samples = 400;
  std::string b = "RIFF";
  auto put = [&b](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(36 + samples * 2, 4);
  b += "WAVEfmt ";
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(rate, 4);
  put(rate * 2, 4);
  put(2, 2);
  put(16, 2);
  b += "data";
  put(samples * 2, 4);
  for (uint32_t i = 0; i < samples; ++i) put((i * 97) & 0x3FFF, 2);
  std::ofstream(path, std::ios::binary) << b;
}

TEST(SoundReload, AnUnchangedFileLoadsFreshAndAChangedOneIsDecodedAgain) {
  ASSERT_EQ(InitSound(), 1);
  const auto folder =
      std::filesystem::temp_directory_path() / ("qm-sound-reload-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  MapGameFolder("sfx", folder.string());
  constexpr int kSlot = 40;

  WriteWave(folder / "t.wav", 11025);
  ASSERT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 1);
  EXPECT_EQ(SoundSlotRate(kSlot), 11025);

  // Played at another rate, then loaded again from the same bytes: a fresh, silent sound.
  SetSoundFrequency(kSlot, 30000);
  PlaySoundEffect(kSlot);
  ASSERT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 1);
  EXPECT_EQ(SoundSlotRate(kSlot), 11025);
  EXPECT_FALSE(SoundSlotPlaying(kSlot));

  WriteWave(folder / "t.wav", 22050);
  ASSERT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 1);
  EXPECT_EQ(SoundSlotRate(kSlot), 22050);

  // A file that is no longer a sound fails as it always did, whatever was loaded before.
  std::ofstream(folder / "t.wav", std::ios::binary) << "not a sound";
  EXPECT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 0);

  MapGameFolder("sfx", "");
  ShutdownSound();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace qm::test
