// Module music: loading, endless looping, stopping with the thread handshake, and the
// master volume, heard through the real mixer fed by the producer thread.
#include <random>

#include "sound_test_support.hpp"

namespace qm::test {
namespace {

constexpr int kHalf = 25600;  // frames in one half of the music stream
constexpr int kSlot = 1;
constexpr int kPeriodC = 428;
constexpr int kEffectSpeed = 0xF;
constexpr int kEffectBreak = 0xD;

// A note played once at speed 1, then a pattern break: the song lasts two rows
// (2 x 882 frames) and then starts again, forever.
Bytes ShortSong() {
  return MakeModule({{0, 0, 1, kPeriodC, kEffectSpeed, 1}, {1, 0, 0, 0, kEffectBreak, 0}}, 64,
                    false);
}

// A looping square wave held for the whole song.
Bytes HeldNote() {
  return MakeModule({{0, 0, 1, kPeriodC, 0, 0}}, 64, true);
}

// One note at the start of an otherwise silent song (64 rows at speed 6, about 7.7 s).
Bytes LongSilence() {
  return MakeModule({{0, 0, 1, kPeriodC, 0, 0}}, 256, false);
}

class MusicTest : public SoundTest {
 protected:
  // Pulls the next half of the stream once the producer has rendered it ahead. `pulled`
  // counts the halves taken since the music (re)started playing.
  std::vector<int16_t> PullHalf(int slot, uint64_t renderedAtStart, int& pulled) {
    // The half after the one pulled now must be rendered too: then this one is final.
    uint64_t needed = renderedAtStart + uint64_t(pulled) + 2;
    EXPECT_TRUE(WaitFor([&] { return MusicSlotHalvesRendered(slot) >= needed; }))
        << "the producer did not refill the stream";
    ++pulled;
    return Pull(kHalf);
  }
};

// Starts of sound after at least 200 silent frames, on the left channel.
int CountOnsets(const std::vector<int16_t>& out) {
  int onsets = 0, quiet = 200;
  for (size_t f = 0; f < out.size() / 2; ++f) {
    if (std::abs(out[2 * f]) > 64) {
      if (quiet >= 200) ++onsets;
      quiet = 0;
    } else {
      ++quiet;
    }
  }
  return onsets;
}

TEST_F(MusicTest, SongLoopsWithoutEnd) {
  ASSERT_NE(LoadMusicModule(kSlot, Write("short.mod", ShortSong())), 0);
  uint64_t rendered = MusicSlotHalvesRendered(kSlot);
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  EXPECT_TRUE(MusicSlotPlaying(kSlot));
  int pulled = 0;
  std::vector<int16_t> all;
  for (int i = 0; i < 5; ++i) {
    auto half = PullHalf(kSlot, rendered, pulled);
    all.insert(all.end(), half.begin(), half.end());
  }
  // 128,000 frames of a 1764-frame song: it started again about 72 times.
  EXPECT_GE(CountOnsets(all), 60);
  std::vector<int16_t> lastHalf(all.end() - 2 * kHalf, all.end());
  EXPECT_GE(CountOnsets(lastHalf), 10);
}

TEST_F(MusicTest, PlayingAgainGoesOnWhereItStopped) {
  ASSERT_NE(LoadMusicModule(kSlot, Write("long.mod", LongSilence())), 0);
  uint64_t rendered = MusicSlotHalvesRendered(kSlot);
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  int pulled = 0;
  EXPECT_EQ(CountOnsets(PullHalf(kSlot, rendered, pulled)), 1);  // the note at the start
  StopMusicModule(kSlot);
  EXPECT_EQ(Peak(Pull(1000)), 0);  // a stopped music is not heard
  rendered = MusicSlotHalvesRendered(kSlot);
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  pulled = 0;
  EXPECT_EQ(CountOnsets(PullHalf(kSlot, rendered, pulled)), 0);  // not from the start again
  // Loading the file again is how a track starts over.
  ASSERT_NE(LoadMusicModule(kSlot, Write("long.mod", LongSilence())), 0);
  rendered = MusicSlotHalvesRendered(kSlot);
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  pulled = 0;
  EXPECT_EQ(CountOnsets(PullHalf(kSlot, rendered, pulled)), 1);
}

TEST_F(MusicTest, VolumeMapsOntoTheMasterVolume) {
  ASSERT_NE(LoadMusicModule(kSlot, Write("held.mod", HeldNote())), 0);
  EXPECT_EQ(MusicSlotMasterVolume(kSlot), 512);
  struct Case {
    int volume, master;
  };
  for (const Case& c : std::vector<Case>{{0, 1},
                                         {100, 512},
                                         {50, 256},
                                         {10, 51},
                                         {1, 5},
                                         {-20, 1},
                                         {250, 512},
                                         {INT32_MAX, 512}}) {
    SetMusicModuleVolume(kSlot, c.volume);
    EXPECT_EQ(MusicSlotMasterVolume(kSlot), c.master) << c.volume;
  }
}

TEST_F(MusicTest, SilentAtVolumeZeroButStillPlaying) {
  ASSERT_NE(LoadMusicModule(kSlot, Write("held.mod", HeldNote())), 0);
  SetMusicModuleVolume(kSlot, 100);
  uint64_t rendered = MusicSlotHalvesRendered(kSlot);
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  int pulled = 0;
  PullHalf(kSlot, rendered, pulled);
  int loud = Peak(PullHalf(kSlot, rendered, pulled));
  EXPECT_GT(loud, 2000);

  // Halves already rendered keep their volume; the third one on is rendered at the new one.
  SetMusicModuleVolume(kSlot, 0);
  PullHalf(kSlot, rendered, pulled);
  PullHalf(kSlot, rendered, pulled);
  int quiet = Peak(PullHalf(kSlot, rendered, pulled));
  EXPECT_TRUE(MusicSlotPlaying(kSlot));
  EXPECT_TRUE(MusicSlotThreadRunning(kSlot));
  EXPECT_LT(quiet * 50, loud);

  SetMusicModuleVolume(kSlot, 100);
  PullHalf(kSlot, rendered, pulled);
  PullHalf(kSlot, rendered, pulled);
  EXPECT_GT(Peak(PullHalf(kSlot, rendered, pulled)), loud * 9 / 10);
}

TEST_F(MusicTest, StopIsAHandshakeWithTheThread) {
  ASSERT_NE(LoadMusicModule(kSlot, Write("held.mod", HeldNote())), 0);
  StopMusicModule(kSlot);  // loaded, not playing: nothing to wait for
  EXPECT_FALSE(MusicSlotThreadRunning(kSlot));
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  EXPECT_TRUE(MusicSlotThreadRunning(kSlot));
  EXPECT_TRUE(WaitFor([] { return MusicSlotHalvesRendered(kSlot) >= 2; }));
  StopMusicModule(kSlot);
  EXPECT_FALSE(MusicSlotPlaying(kSlot));
  EXPECT_FALSE(MusicSlotThreadRunning(kSlot));
  EXPECT_EQ(Peak(Pull(2000)), 0);

  // Stopping at once after starting, and starting twice, never leaves a thread behind.
  for (int i = 0; i < 10; ++i) {
    ASSERT_NE(PlayMusicModule(kSlot), 0);
    if (i % 2) {
      ASSERT_NE(PlayMusicModule(kSlot), 0);
    }
    StopMusicModule(i % 3 ? kSlot : -1);
    EXPECT_FALSE(MusicSlotThreadRunning(kSlot)) << i;
  }
}

TEST_F(MusicTest, LoadingOverAPlayingMusicStopsItFirst) {
  ASSERT_NE(LoadMusicModule(kSlot, Write("held.mod", HeldNote())), 0);
  ASSERT_NE(LoadMusicModule(3, Write("short.mod", ShortSong())), 0);
  ASSERT_NE(PlayMusicModule(kSlot), 0);
  ASSERT_NE(PlayMusicModule(3), 0);
  ASSERT_NE(LoadMusicModule(kSlot, Write("short.mod", ShortSong())), 0);
  EXPECT_FALSE(MusicSlotPlaying(kSlot));
  EXPECT_FALSE(MusicSlotThreadRunning(kSlot));
  EXPECT_TRUE(MusicSlotPlaying(3));
  StopMusicModule(-1);
  EXPECT_FALSE(MusicSlotThreadRunning(3));
}

TEST_F(MusicTest, BadModulesFailAndEmptyTheSlot) {
  std::mt19937 random(1234);
  Bytes noise(8192);
  for (auto& b : noise) b = uint8_t(random());
  Bytes cut = HeldNote();
  cut.resize(600);  // inside the sample headers
  std::string good = Write("held.mod", HeldNote());
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, Bytes>>{
           {"random bytes", noise}, {"empty", {}}, {"cut short", cut}}) {
    ASSERT_NE(LoadMusicModule(kSlot, good), 0);
    SetMusicModuleVolume(kSlot, 30);
    EXPECT_EQ(LoadMusicModule(kSlot, Write("bad.mod", bytes)), 0) << name;
    EXPECT_EQ(PlayMusicModule(kSlot), 0) << name << ": the slot should be empty";
  }
  // A missing file leaves the slot as it was.
  ASSERT_NE(LoadMusicModule(kSlot, good), 0);
  SetMusicModuleVolume(kSlot, 30);
  EXPECT_EQ(LoadMusicModule(kSlot, (folder_ / "missing.mod").string()), 0);
  EXPECT_EQ(MusicSlotMasterVolume(kSlot), 153);
  EXPECT_NE(PlayMusicModule(kSlot), 0);
}

TEST_F(MusicTest, DamagedModulesLoadOrFailButNeverHang) {
  std::mt19937 random(5);
  Bytes good = MakeModule({{0, 0, 1, kPeriodC, kEffectSpeed, 2},
                           {3, 1, 1, 300, 0xC, 20},
                           {5, 0, 0, 0, kEffectBreak, 0}},
                          128, true);
  for (int round = 0; round < 60; ++round) {
    Bytes bad = good;
    for (int k = 1 + int(random() % 8); k > 0; --k) bad[random() % bad.size()] = uint8_t(random());
    if (round % 4 == 0) bad.resize(random() % bad.size());
    if (LoadMusicModule(kSlot, Write("damaged.mod", bad)) != 0) {
      uint64_t rendered = MusicSlotHalvesRendered(kSlot);
      ASSERT_NE(PlayMusicModule(kSlot), 0);
      EXPECT_TRUE(WaitFor([&] { return MusicSlotHalvesRendered(kSlot) >= rendered + 2; }));
      Pull(kHalf);
      StopMusicModule(kSlot);
      EXPECT_FALSE(MusicSlotThreadRunning(kSlot));
    }
  }
}

TEST_F(MusicTest, EmptyAndOutOfRangeSlotsDoNothing) {
  StopMusicModule(-1);  // nothing loaded
  for (int slot : {-2, 0, 1, 15, 16, 5000, INT32_MAX}) {
    EXPECT_EQ(PlayMusicModule(slot), 0);
    StopMusicModule(slot);
    SetMusicModuleVolume(slot, 40);
    EXPECT_EQ(MusicSlotMasterVolume(slot), 0);
    EXPECT_FALSE(MusicSlotPlaying(slot));
  }
  EXPECT_EQ(LoadMusicModule(INT32_MAX, Write("held.mod", HeldNote())), 0);
  EXPECT_EQ(Peak(Pull(1000)), 0);
}

// A program that ends while its music plays, without ShutdownSound, still ends cleanly.
TEST(MusicAtExit, EndingWhilePlayingStopsTheThreadFirst) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Bytes module = HeldNote();
  std::string path = (std::filesystem::temp_directory_path() /
                      ("qm-sound-exit-" + std::to_string(getpid()) + ".mod"))
                         .string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(module.data()), std::streamsize(module.size()));
  EXPECT_EXIT(
      {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (InitSound() == 0 || LoadMusicModule(kSlot, path) == 0 || PlayMusicModule(kSlot) == 0)
          std::exit(3);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace qm::test
