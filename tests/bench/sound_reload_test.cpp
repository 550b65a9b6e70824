// A level start loads its sound files again: a file that did not change gives the same
// fresh sound, and a file that changed is decoded anew (never an earlier copy).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/Files.hpp"
#include "engine/Sound.hpp"
#include "engine/TestHooks.hpp"
#include "tests/support/TestFiles.hpp"

namespace qm::test {
namespace {

// A short mono 16-bit WAV at the given rate.
std::string Wave(uint32_t rate) {
  return WaveBytes(rate, 400, [](uint32_t i) { return static_cast<int16_t>((i * 97) & 0x3FFF); });
}

TEST(SoundReload, AnUnchangedFileLoadsFreshAndAChangedOneIsDecodedAgain) {
  ASSERT_EQ(InitSound(), 1);
  TempFolder folder("qm-sound-reload");
  MapGameFolder("sfx", folder.path());
  constexpr int kSlot = 40;

  WriteFile(folder.Path("t.wav"), Wave(11025));
  ASSERT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 1);
  EXPECT_EQ(SoundSlotRate(kSlot), 11025);

  // Played at another rate, then loaded again from the same bytes: a fresh, silent sound.
  SetSoundFrequency(kSlot, 30000);
  PlaySoundEffect(kSlot);
  ASSERT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 1);
  EXPECT_EQ(SoundSlotRate(kSlot), 11025);
  EXPECT_FALSE(SoundSlotPlaying(kSlot));

  WriteFile(folder.Path("t.wav"), Wave(22050));
  ASSERT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 1);
  EXPECT_EQ(SoundSlotRate(kSlot), 22050);

  // A file that is no longer a sound fails as it always did, whatever was loaded before.
  WriteFile(folder.Path("t.wav"), "not a sound");
  EXPECT_EQ(LoadSoundEffect(kSlot, "sfx\\t.wav"), 0);

  MapGameFolder("sfx", "");
  ShutdownSound();
}

}  // namespace
}  // namespace qm::test
